#pragma once

#include "data/SeriesPlacement.h"

#include <QVector>

// The two factors from data units to scene units.
class GraphScales {
public:
    // Scene units per month, so that the last month lies at xRange.
    static double xScale(double xRange, const MonthRange& range);
    // The stack's total value at every month 0 .. span.
    static QVector<double> totals(const QVector<SeriesPlacement>& placements, int span);
    // Mean of the totals above 1 % of the largest one, so that near-empty months do not shrink
    // the typical height; 0 when there is no positive total.
    static double typicalTotal(const QVector<double>& totals);
    // Scene units per value unit: the typical total becomes 1000 scene units; 1 without one.
    static double yScale(double typicalTotal);
};
