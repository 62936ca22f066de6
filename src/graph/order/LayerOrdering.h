#pragma once

#include "data/SeriesPlacement.h"

#include <QVector>

#include <array>

// The stacking order: one sweep over the months in which every series enters the stack in
// its first month. The orderings differ only in where a starting layer goes.
class LayerOrdering {
public:
    enum class Kind {
        OnsetTime, // stays where it is: data order, earliest first
        InsideOut, // alternately to the top and to the bottom
        Weighted,  // to the lighter side, by a look-ahead balance
    };

    // A layer's values at a month and the two following ones; NaN where it has none.
    using LookAhead = std::array<double, 3>;

    // Series indexes from the bottom layer up.
    static QVector<int> order(Kind kind, const QVector<SeriesPlacement>& placements, int span);
    // Weighted look-ahead balance of a stack (bottom first) around the layer at position pivot:
    // positive when the stack is heavier below the reference's middle, so a new layer should go on top.
    static double balance(const QVector<LookAhead>& stack, int pivot);
};
