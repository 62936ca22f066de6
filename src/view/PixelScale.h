#pragma once

#include <QRectF>
#include <QSizeF>

// How strongly a graph fitted into a viewport is magnified on screen; the automatic OpenGL rule
// compares it with a threshold.
class PixelScale {
public:
    // The graph's scene rectangle fitted into the viewport with kept aspect ratio: its diagonal in
    // pixels, weighed by how much wider than the default the graph was made (width against the default
    // units per month over monthSpan months), and measured against a graph of the scene's aspect ratio
    // fitted into a reference length. NaN when the viewport, the rectangle or the span gives no answer.
    static double fitted(const QSizeF& viewport, const QRectF& sceneRect, double width, int monthSpan);

    // The length a fitted graph of aspect ratio 1 at the default width is measured against: a graph
    // shown this large counts as unmagnified.
    static constexpr double referenceLength = 400.0;
};
