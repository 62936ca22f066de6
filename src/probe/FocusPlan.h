#pragma once

#include <QPointF>

struct BandGeometry;

// Where a view looks to show one layer: the scene point of its thickest month, mid-band, and the zoom
// factor that makes the band there at least a share of the viewport's height (1 when it already is).
struct FocusPlan {
    bool valid = false;
    QPointF centre;
    double zoom = 1.0;

    // pixelsPerUnit: the view's vertical scale, device pixels per scene unit.
    static FocusPlan of(const BandGeometry& band, double pixelsPerUnit, double viewportHeight,
                        double share = 0.2);

    // The most a focus zooms in at once: a band of almost nothing is not blown up past any use.
    static constexpr double largestZoom = 10000.0;
};
