#pragma once

#include "band/BandGeometry.h"
#include "labels/LabelFont.h"
#include "labels/LabelPlacement.h"

#include <QRectF>
#include <QString>

#include <functional>

// A layer's name at the largest whole pixel size at which its text box lies inside the band. Between
// two points an edge of the band stays between the two points' values, so over the months a box
// touches the band holds at least the room between their highest bottom and their lowest top. The
// size is found by a binary search, each step a sliding-window minimum and maximum over the points:
// months times log(sizes) per layer.
class FittedLabel {
public:
    using Measure = std::function<LabelFont::TextSize(const QString&)>;

    struct Fit {
        int pixelSize = 0; // 0: no size fits
        QRectF box;        // the text box in scene units, y downwards
        QPointF origin;    // the left end of the text's baseline
    };

    // The largest size of at least atLeast at which a text of that size per pixel fits, with its box
    // where the band has the most room for it, centred there.
    static Fit fit(const BandGeometry& band, const LabelFont::TextSize& text, int atLeast = 1);
    // The whole name, or its shortened form when that gets at least twice the size; empty when no box of
    // at least one scene unit's height fits.
    static LabelPlacement place(const BandGeometry& band, const QString& name, const QString& shortened,
                                const Measure& measure);

    // Room kept free around the text, in pixels per pixel of font size.
    static constexpr double margin = 0.05;
    static constexpr int largest = LabelPlacement::largestPixelSize;
};
