#pragma once

#include "data/SeriesPlacement.h"

#include <QString>
#include <QVector>

#include <functional>

// The stacking orders, one function per sorting in a table keyed by its code (the control panel's
// entry). Each gives series indexes from the bottom layer up.
class LayerOrdering {
public:
    // How long an ordering may search, and whom to tell when it takes a while.
    struct Budget {
        double seconds = windowSeconds;
        // Called once, from the searching thread, when a search has run for slowAfter seconds.
        std::function<void()> slow;
        static constexpr double windowSeconds = 2.0;
        static constexpr double batchSeconds = 10.0;
        static constexpr double slowAfter = 0.3;
    };
    // What an ordering is given: the layers' values as they will be stacked, the months, the baseline
    // they will stand on (its code) and the time it may take.
    struct Input {
        QVector<SeriesPlacement> placements;
        int span = 0;
        int baseline = 0;
        Budget budget;
    };
    using Function = QVector<int> (*)(const Input& input);
    struct Entry {
        QString name; // the entry's text in the panel and on the command line
        Function order;
        // Whether the order depends on the baseline and takes long enough to be worth keeping.
        bool searched = false;
    };
    // Entry i is code i.
    static const QVector<Entry>& table();
    // Unknown codes act as code 0.
    static const Entry& of(int code);

    // The specified orderings are one sweep over the months in which every series enters the stack in
    // its first month; they differ only in where a starting layer goes.
    // Stays where it is: data order, earliest first.
    static QVector<int> onsetTime(const QVector<SeriesPlacement>& placements, int span);
    // Alternately to the top and to the bottom.
    static QVector<int> insideOut(const QVector<SeriesPlacement>& placements, int span);
    // To the lighter side, by a look-ahead balance of the running layers around the pivot.
    static QVector<int> weighted(const QVector<SeriesPlacement>& placements, int span);
    // The order of least thickness-weighted wiggle on the input's baseline (OrderSearch).
    static QVector<int> optimized(const Input& input);
};
