#pragma once

#include "import/ColumnRoles.h"
#include "import/ImportOptions.h"
#include "import/MonthBins.h"

#include <QStringList>

// What reading a table did, for --info and the import preview: which columns gave what and which were
// left out, what was guessed and how to change it, and where values went - how many rows into how many
// months by which rule, and every row or value that was skipped. Nothing is dropped without a line here.
struct ImportReport {
    bool json = false;
    char delimiter = ',';
    bool decimalComma = false;
    QStringList columnNames;
    ColumnRoles roles;
    QStringList skippedRows;
    bool skipFound = false;
    ImportOptions::Aggregate aggregate = ImportOptions::Aggregate::Sum;
    QString dateOrderNote;

    qint64 rows = 0;      // data rows read
    qint64 values = 0;    // values taken
    qint64 missing = 0;   // value cells that held none (empty, NA, null, ...)
    qint64 totalRows = 0; // rows of YYYYMM month 13, an annual total, skipped
    MonthBins::Counts bins;

    // One line a fact, "Name: what", for the command line's summary and the preview.
    QStringList lines() const;
    // One sentence on where the values went, as the window says it.
    QString binningText() const;
};
