#pragma once

#include "data/DataFileReader.h"
#include "import/ImportOptions.h"
#include "import/TableImport.h"
#include "table/SourceTable.h"

#include <QString>

// The one way in for a file of series, wherever it is chosen: names ending in .csv, .tsv or .json (in
// any case) are read as tables - CSV, TSV, JSON records - every other file in the data-file format.
class DataLoader {
public:
    // Whether the file is read as a table, so that its columns can be chosen before it loads.
    static bool isTable(const QString& fileName);
    // The file's table, before its columns have roles (an error for data files and unreadable files).
    static SourceTable readTable(const QString& fileName, const ImportOptions& options = ImportOptions());

    static DataFileResult readFile(const QString& fileName, const ImportOptions& options = ImportOptions());
    // As readFile, with what reading a table did (an empty report for data files).
    static ImportResult read(const QString& fileName, const ImportOptions& options = ImportOptions());
};
