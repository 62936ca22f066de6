#pragma once

#include "data/SeriesPlacement.h"

#include <QString>
#include <QVector>

// The stacking orders, one function per sorting in a table keyed by its code (the control panel's
// entry). Each gives series indexes from the bottom layer up.
class LayerOrdering {
public:
    using Function = QVector<int> (*)(const QVector<SeriesPlacement>& placements, int span);
    struct Entry {
        QString name; // the entry's text in the panel and on the command line
        Function order;
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
};
