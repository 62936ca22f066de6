#include "band/LayerOutline.h"

LayerOutline::LayerOutline(double xScale, double yScale)
    : xScale(xScale)
    , yScale(yScale) {}

void LayerOutline::moveTo(double x, double y) {
    path.moveTo(x * xScale, -y * yScale);
    penX = x;
    penY = y;
}

void LayerOutline::lineTo(double x, double y) {
    path.lineTo(x * xScale, -y * yScale);
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

LayerOutline LayerOutline::band(const BandGeometry& band, int extraElements) {
    return piece(band, 0, band.count() - 1, extraElements);
}

LayerOutline LayerOutline::piece(const BandGeometry& band, int firstPoint, int lastPoint, int extraElements) {
    LayerOutline outline(band.xScale, band.yScale);
    const int n = band.count();
    firstPoint = qMax(firstPoint, 0);
    lastPoint = qMin(lastPoint, n - 1);
    if (firstPoint > lastPoint)
        return outline;
    outline.path.reserve(elementCount(lastPoint - firstPoint + 1) + qMax(0, extraElements));
    const auto month = [&](int k) { return double(band.first + k); };
    outline.moveTo(month(firstPoint), band.tops[firstPoint]);
    for (int k = firstPoint + 1; k <= lastPoint; ++k)
        outline.curveTo(month(k), band.tops[k]);
    if (lastPoint == n - 1)
        outline.curveTo(month(lastPoint), band.bottoms[lastPoint]);
    else
        outline.lineTo(month(lastPoint), band.bottoms[lastPoint]);
    for (int k = lastPoint - 1; k >= firstPoint; --k)
        outline.curveTo(month(k), band.bottoms[k]);
    if (firstPoint == 0)
        outline.curveTo(month(0), band.tops[0]);
    else
        outline.lineTo(month(firstPoint), band.tops[firstPoint]);
    return outline;
}
