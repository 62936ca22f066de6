#pragma once

#include <QString>
#include <QStringList>

// How a table of CSV, TSV or JSON becomes monthly series, as the command line's options or the import
// preview say. Left at its defaults, every choice is found from the file.
struct ImportOptions {
    // How several values of one series in one month become the month's value.
    enum class Aggregate { Sum, Mean, Min, Max, First, Last };
    // How dates like 03/04/2020 are read.
    enum class DateOrder { Auto, DayFirst, MonthFirst };

    // A column's name (any case) or its 1-based number; empty: found from the file. A series column
    // of noColumn ("0") makes every column of numbers a series.
    QString dateColumn;
    QString seriesColumn;
    QString valueColumn;
    Aggregate aggregate = Aggregate::Sum;
    DateOrder dateOrder = DateOrder::Auto;
    // Rows above the header to leave out; -1: found from the file.
    int skipRows = -1;

    static constexpr const char* noColumn = "0";

    // "sum", "mean", "min", "max", "first", "last", in the order of Aggregate.
    static const QStringList& aggregateNames();
    // "auto", "day-first", "month-first", in the order of DateOrder.
    static const QStringList& dateOrderNames();
};
