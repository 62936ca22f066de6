#pragma once

#include <QString>

struct DataFileResult;
struct ImportReport;

// A short human-readable account of what a data file gave, for the command line; for a table, with
// what reading it did.
class DataSetSummary {
public:
    static QString describe(const DataFileResult& result, const ImportReport* report = nullptr);
};
