#pragma once

#include "import/ColumnKinds.h"
#include "import/ImportOptions.h"

#include <QStringList>
#include <QVector>

struct SourceTable;

// Which column gives what: the dates (or a year and a month column), and then either a series column
// and one value column (a long table, one value a row) or every numeric column as a series (a wide
// table). A column whose name says its role is preferred, otherwise the first that fits; the options
// override either. What was guessed between several candidates is said in guesses, with the option
// that changes it.
struct ColumnRoles {
    QVector<ColumnKind> kinds;
    int dateColumn = -1;
    int monthColumn = -1;  // a column of months 1..12 or month names beside a year column, or -1
    int seriesColumn = -1; // -1: a wide table
    QVector<int> valueColumns;
    DateText::Order dateOrder = DateText::Order::Unknown;
    QStringList guesses;
    QVector<int> leftOut; // columns that give nothing (text, or numbers beside the value column)
    QString error;

    bool ok() const { return error.isEmpty(); }
    bool isLong() const { return seriesColumn >= 0; }

    static ColumnRoles detect(const SourceTable& source, const ImportOptions& options);
    // The column an option names by its 1-based number or its name (any case), or -1.
    static int findColumn(const SourceTable& source, const QString& option);
};
