#pragma once

#include "data/DataFileReader.h"
#include "data/SeriesNormalizer.h"
#include "import/ImportOptions.h"
#include "import/ImportReport.h"

struct SourceTable;

// A table read and what reading it did.
struct ImportResult {
    DataFileResult data;
    ImportReport report;
    bool ok() const { return data.ok(); }
};

// Turns a table into monthly series: finds the columns' roles from a sample (or takes them from the
// options), reads every row's date and values in one pass, combines values that share a series and month
// by the options' rule, and normalises the series as data files are (short series dropped, gaps filled).
// A cell that should be a date or a number and is not fails the whole table, naming its line and column.
class TableImport {
public:
    static ImportResult run(const SourceTable& source, const ImportOptions& options);

    // Values a table may hold, counted before months are filled in: a bound on memory.
    static constexpr qint64 maxValues = SeriesNormalizer::maxTotalPoints;
    // Data files' suffixes for powers of 1000 are unknown to tables; these are shown instead.
    static const QVector<QString>& magnitudeSuffixes();
};
