#include "band/BandStrips.h"

#include <cmath>

namespace {

// floor/ceil of a double as an index within 0 .. count - 1, safe for any finite value.
int clampedIndex(double value, int count) {
    if (!(value > 0.0))
        return 0;
    if (value >= double(count - 1))
        return count - 1;
    return int(value);
}

} // namespace

BandStrips::Span BandStrips::pointsFor(const Band& band, double left, double right) {
    Span span;
    if (band.count <= 0 || !(band.step > 0.0) || !(left <= right))
        return span;
    const double first = band.origin;
    const double last = band.origin + (band.count - 1) * band.step;
    if (last < left || first > right)
        return span;
    span.firstPoint = clampedIndex(std::floor((left - band.origin) / band.step), band.count);
    span.lastPoint = clampedIndex(std::ceil((right - band.origin) / band.step), band.count);
    return span;
}

bool BandStrips::plan(const Band& band, double visibleLeft, double visibleRight, int width, double margin,
                      QVector<Strip>* strips) {
    strips->clear();
    if (width < 1 || band.count <= 0 || !(band.step > 0.0) || !std::isfinite(band.origin) ||
        !std::isfinite(band.step) || !std::isfinite(visibleLeft) || !std::isfinite(visibleRight))
        return false;
    double left = band.origin;
    double right = band.origin + (band.count - 1) * band.step;
    if (band.hasLabel) {
        if (!std::isfinite(band.labelLeft) || !std::isfinite(band.labelRight))
            return false;
        left = qMin(left, band.labelLeft);
        right = qMax(right, band.labelRight);
    }
    left = qMax(left, visibleLeft);
    right = qMin(right, visibleRight);
    if (!std::isfinite(left) || !std::isfinite(right))
        return false;
    if (!(left < right))
        return true;
    const double firstStrip = std::floor(left / width);
    const double lastStrip = std::ceil(right / width);
    if (lastStrip - firstStrip > maxStrips || std::abs(firstStrip) * width > 1e9 ||
        std::abs(lastStrip) * width > 1e9)
        return false;
    for (qint64 lo = qint64(firstStrip) * width; double(lo) < right; lo += width) {
        Strip strip;
        strip.left = int(lo);
        strip.right = int(lo + width);
        strip.points = pointsFor(band, strip.left - margin, strip.right + margin);
        strip.label =
            band.hasLabel && band.labelRight >= strip.left - margin && band.labelLeft <= strip.right + margin;
        if (!strip.points.isEmpty() || strip.label)
            strips->append(strip);
    }
    return true;
}
