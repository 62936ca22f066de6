#pragma once

#include "data/DataFileReader.h"
#include "import/ImportOptions.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Reads monthly series from CSV or TSV (the separator found from the header row; the one given is
// taken when the rows do not tell) with every choice found from the file: the table's cells
// (table/CsvTable), then its columns' roles, dates and values (TableImport). CSV has no unit; values
// are shown with the suffixes "", "k", "M", "G" and "T".
class CsvReader {
public:
    static DataFileResult readFile(const QString& fileName, char delimiter = ',');
    static DataFileResult readBytes(const QByteArray& bytes, char delimiter = ',',
                                    const ImportOptions& options = ImportOptions());

    static const QVector<QString>& magnitudeSuffixes();
};
