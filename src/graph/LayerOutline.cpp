#include "graph/LayerOutline.h"

LayerOutline::LayerOutline(double xScale, double yScale)
    : xScale(xScale)
    , yScale(yScale) {}

void LayerOutline::moveTo(double x, double y) {
    path.moveTo(x * xScale, -y * yScale);
    penX = x;
    penY = y;
}

void LayerOutline::curveTo(double x, double y) {
    const double mid = penX + (x - penX) * 0.5;
    path.cubicTo(mid * xScale, -penY * yScale, mid * xScale, -y * yScale, x * xScale, -y * yScale);
    penX = x;
    penY = y;
}

int LayerOutline::elementCount(int n) {
    // The move, then three elements for each of the 2n curves.
    return n > 0 ? 1 + 6 * n : 0;
}

LayerOutline LayerOutline::band(const SeriesPlacement& layer, const QVector<double>& bottoms, double xScale,
                                double yScale, int extraElements) {
    LayerOutline outline(xScale, yScale);
    const int n = layer.count;
    if (n == 0)
        return outline;
    outline.path.reserve(elementCount(n) + qMax(0, extraElements));
    for (int k = 0; k < n; ++k) {
        const double x = layer.first + k;
        const double top = bottoms[k] + layer.points[k].value;
        if (k == 0)
            outline.moveTo(x, top);
        else
            outline.curveTo(x, top);
    }
    for (int k = n - 1; k >= 0; --k)
        outline.curveTo(layer.first + k, bottoms[k]);
    outline.curveTo(layer.first, bottoms[0] + layer.points[0].value);
    return outline;
}
