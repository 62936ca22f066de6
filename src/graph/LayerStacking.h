#pragma once

#include "data/SeriesPlacement.h"

#include <QVector>

// Layers stacked on a baseline, bottom layer first: each lies on the tops of those below it.
class LayerStacking {
public:
    // bottoms[i][k]: bottom of layer i at its point k (month placements[order[i]].first + k).
    QVector<QVector<double>> bottoms;
    // The top of the whole stack at every month.
    QVector<double> top;

    static LayerStacking stack(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                               const QVector<double>& baseline);
    // Highest top, never below the smallest positive double.
    static double maxTop(const QVector<double>& top);
    // Scene height of the stack from its lowest baseline to its highest top.
    static double graphHeight(double maxTop, double lowestBaseline, double yScale);
};
