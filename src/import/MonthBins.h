#pragma once

#include "data/DataSeries.h"
#include "import/ImportOptions.h"

#include <QVector>

// Values of series as rows gave them, combined into one value a series and month by a rule: the sum
// (counts, flows and volumes, what stacked graphs show), the mean, the least, the largest, the first
// or the last in the file. One pass; sorting only for series whose rows are out of month order.
class MonthBins {
public:
    struct Counts {
        qint64 months = 0;         // series-months that got a value
        qint64 combinedMonths = 0; // of them, those that got more than one
        qint64 combinedValues = 0; // values that went into those
        qint64 negativeMonths = 0; // months whose value came out below zero, shown as zero
    };

    // Combines every series' points in place: afterwards each series has one point a month, in month
    // order. An error (a sum beyond what the graph can show, naming series and month) or empty.
    static QString combine(QVector<DataSeries>& series, ImportOptions::Aggregate rule, Counts* counts);
};
