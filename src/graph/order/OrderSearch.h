#pragma once

#include "graph/baseline/Baseline.h"
#include "graph/order/LayerOrdering.h"

#include <QVector>

#include <functional>

// The stacking order of least thickness-weighted wiggle (OrderObjective) on a baseline, as published work
// on streamgraph ordering finds it: a greedy placement, each step putting the remaining layer on the side
// (top or bottom) where it adds least, then a local search that moves any layer to any position or swaps
// two, taking for each layer in turn its best improving move, until no move improves. The result is never
// worse than the greedy start nor than the three specified orderings, which compete as starts. A few layers
// get the exact optimum instead: on a fixed bottom or middle by exact(), under the reference baseline by
// trying every order.
//
// Same input, same order: nothing depends on timing unless the time budget runs out, and then the best
// order found so far is returned (a faster machine may have found a better one).
class OrderSearch {
public:
    struct Result {
        QVector<int> order;
        double wiggle = 0.0;    // of order
        double start = 0.0;     // of the order the local search started from
        double specified = 0.0; // of the best of the specified orderings
        bool exact = false;     // order is the exact optimum
        bool capped = false;    // the budget ran out before the search finished
    };
    static Result run(const LayerOrdering::Input& input);

    // The best order on a fixed bottom or a fixed middle found exactly, for a few layers: a layer's centre
    // slope there depends only on which layers lie below it, not on their order, so a dynamic programme
    // over the sets of layers below finds it in 2^layers x layers x months. Empty when there are more
    // layers than exactLayers or stop() says so first.
    static QVector<int> exact(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                              const std::function<bool()>& stop = {});
    static constexpr int exactLayers = 14;
    // Under the reference baseline up to this many layers are tried in every order.
    static constexpr int exhaustiveLayers = 7;

    // The greedy placement alone, on a fixed bottom or a fixed middle (the reference anchor is placed as
    // the middle is); empty when stop() says so first.
    static QVector<int> greedy(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                               const std::function<bool()>& stop = {});
};
