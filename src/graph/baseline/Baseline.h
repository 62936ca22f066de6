#pragma once

#include "data/SeriesPlacement.h"

#include <QString>
#include <QVector>

// The bottom of the stack at every month 0 .. span, in value units, one function per baseline in a table
// keyed by its code (the control panel's entry). order lists series indexes from the bottom layer up.
class Baseline {
public:
    using Function = QVector<double> (*)(const QVector<int>& order,
                                         const QVector<SeriesPlacement>& placements, int span);
    // What stays put while layers are reordered: the stack's bottom, its middle, or the middle of a
    // reference layer. A layer's centre moves with the layers below it and with this.
    enum class Anchor { Bottom, Middle, Reference };
    struct Entry {
        QString name; // the entry's text in the panel and on the command line
        Function compute;
        Anchor anchor;
        // The layers are drawn as their shares of each month's total (shares()) rather than as values.
        bool shares;
    };
    // Entry i is code i.
    static const QVector<Entry>& table();
    // Unknown codes act as code 0.
    static const Entry& of(int code);

    // Zero: the stack stands on y = 0.
    static QVector<double> xAxis(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                 int span);
    // Minus half the total: the stack is centred on y = 0.
    static QVector<double> symmetric(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                     int span);
    // Keeps the middle of a reference layer on y = 0: first the bottom-most layer of series 0;
    // once it has ended, the first layer above it present in the month takes over.
    static QVector<double> reference(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                     int span);
    // The position in order of reference()'s reference layer at every month (0 for an empty order).
    static QVector<int> referencePositions(const QVector<int>& order,
                                           const QVector<SeriesPlacement>& placements, int span);
    static double lowest(const QVector<double>& baseline);

    // Every month's stack as shares of its total, so that each month with a total is fullHeight tall;
    // months without one are empty. The placements returned point into *values, which they need.
    static QVector<SeriesPlacement> shares(const QVector<SeriesPlacement>& placements, int span,
                                           QVector<DataPoint>* values);
    // The height of a month's whole stack in shares: percent.
    static constexpr double fullHeight = 100.0;
};
