#pragma once

#include "table/SourceTable.h"

#include <QByteArray>

// Reads CSV into a table of cells (libcsv, RFC 4180 quoting). The separator - comma, semicolon or
// tab - is the one the header row and the rows after it agree on; rows of notes above the header
// (a title, "Unit:", a blank line) are left out when the header is followed by consistent rows.
// With semicolons, numbers have decimal commas.
class CsvTable {
public:
    struct Layout {
        char delimiter = ',';
        qsizetype headerOffset = 0; // where the header row starts in the bytes
        qint64 headerLine = 1;
        QStringList skippedRows;
    };

    // preferred: the separator the file's name suggests, taken when the rows do not tell. skipRows:
    // the number of rows above the header, or -1 to find it.
    static Layout detect(const QByteArray& bytes, char preferred, int skipRows = -1);
    static SourceTable read(const QByteArray& bytes, char preferred = ',', int skipRows = -1);

    // Cells a table may hold: a bound on memory far above what 2 GB of sensible rows need.
    static constexpr qint64 maxCells = qint64(1) << 28;
};
