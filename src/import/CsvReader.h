#pragma once

#include "data/DataFileReader.h"
#include "import/ImportOptions.h"

#include <QByteArray>

// Reads monthly series from the bytes of a CSV or TSV file (the separator found from the header row;
// the one given is taken when the rows do not tell): the table's cells (table/CsvTable), then its
// columns' roles, dates and values (TableImport).
class CsvReader {
public:
    static DataFileResult readBytes(const QByteArray& bytes, char delimiter = ',',
                                    const ImportOptions& options = ImportOptions());
};
