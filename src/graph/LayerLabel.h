#pragma once

#include "data/SeriesPlacement.h"
#include "labels/LabelPlacement.h"

#include <QString>
#include <QVector>

// Where a layer's name is written: near the point where the layer first stops growing fast.
class LayerLabel {
public:
    // Text origin in data units (month, value units) and the thickness the text is sized by.
    struct Placement {
        double x = 0.0;
        double y = 0.0;
        double thickness = 0.0;
    };

    // The last point of the first run in which every value exceeds 1.5 times the one before.
    static int labelPoint(const SeriesPlacement& layer);
    // How far the text starts left of its point, in months.
    static double shift(int point, int count);
    static Placement place(const SeriesPlacement& layer, const QVector<double>& bottoms);
    // Font pixel size, truncated; 0 means too small to draw.
    static int pixelSize(double xScale, double yScale, double thickness);
    // At most 13 characters: longer names keep their first 10 and end in "...".
    static QString text(const QString& name);
    // The label as drawn at these scales; empty when its size is below one pixel (the font would
    // fall back to its default size, far larger than the layer) or the name is empty.
    static LabelPlacement drawn(const Placement& placement, const QString& name, double xScale,
                                double yScale);
};
