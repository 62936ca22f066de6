#pragma once

#include "data/SeriesPlacement.h"

#include <QVector>

// The bottom of the stack at every month 0 .. span, in value units. order lists series indexes
// from the bottom layer up.
class Baseline {
public:
    enum class Kind { XAxis, Symmetric, Reference };

    static QVector<double> compute(Kind kind, const QVector<int>& order,
                                   const QVector<SeriesPlacement>& placements, int span);

    static QVector<double> xAxis(int span);
    // Minus half the total: the stack is centred on y = 0.
    static QVector<double> symmetric(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                     int span);
    // Keeps the middle of a reference layer on y = 0: first the bottom-most layer of series 0;
    // once it has ended, the first layer above it present in the month takes over.
    static QVector<double> reference(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                     int span);
    static double lowest(const QVector<double>& baseline);
};
