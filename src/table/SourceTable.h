#pragma once

#include "table/CellText.h"
#include "table/TextTable.h"

#include <QString>
#include <QStringList>

// A file read as a table, before any column has a meaning: the header row first, then the data rows
// (blank rows left out).
struct SourceTable {
    enum class Kind { Csv, Json };

    TextTable table;
    QString error; // why the file is no table; the table is then empty
    Kind kind = Kind::Csv;
    char delimiter = ',';
    CellText::DecimalMark mark = CellText::DecimalMark::Point;
    // Rows above the header that were left out (titles, notes), and whether that was found rather than
    // asked for.
    QStringList skippedRows;
    bool skipFound = false;
    bool ok() const { return error.isEmpty(); }

    // Where a cell is, for messages: "Line 12, column 3 ("price")" or "Record 5, field "price"".
    QString place(int row, int column) const;
    // The same from a line, a column counted from 1 and its name (left out when empty), or from a record
    // and its field; long names are shortened.
    static QString linePlace(qint64 line, int column, const QString& name);
    static QString recordPlace(qint64 record, const QString& field);
    // A column's name as its header cell gives it.
    QString columnName(int column) const;
};
