#pragma once

#include "data/SeriesPlacement.h"

#include <QVector>

// A layer's band in data units: point k lies at month first + k, from bottoms[k] up to tops[k]. With
// the two scales it maps to the scene: month m to x = m * xScale, height h to y = -h * yScale.
struct BandGeometry {
    int first = 0;
    QVector<double> bottoms;
    QVector<double> tops;
    double xScale = 1.0;
    double yScale = 1.0;

    int count() const { return int(tops.size()); }
    // Scene x of point k.
    double sceneX(int k) const { return double(first + k) * xScale; }

    // The band of a placed series lying on the given bottoms (one per point).
    static BandGeometry of(const SeriesPlacement& layer, const QVector<double>& bottoms, double xScale,
                           double yScale) {
        BandGeometry band;
        band.first = layer.first;
        band.bottoms = bottoms;
        band.tops.resize(layer.count);
        for (int k = 0; k < layer.count; ++k)
            band.tops[k] = bottoms[k] + layer.points[k].value;
        band.xScale = xScale;
        band.yScale = yScale;
        return band;
    }
};
