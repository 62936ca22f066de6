#include "probe/LayerHit.h"

#include "graph/GraphLayout.h"

#include <cmath>

namespace {

// Where the band of layer lies at month k, shared by the months k and k + 1 after the share s: bottom and
// top in value units. False when the band has no area there.
bool bandAt(const BandGeometry& band, qint64 k, double s, bool onMonth, double* bottom, double* top) {
    const qint64 point = k - band.first;
    if (point < 0 || point >= band.count())
        return false;
    if (onMonth) {
        *bottom = band.bottoms[point];
        *top = band.tops[point];
        return true;
    }
    if (point + 1 >= band.count())
        return false;
    *bottom = band.bottoms[point] + (band.bottoms[point + 1] - band.bottoms[point]) * s;
    *top = band.tops[point] + (band.tops[point + 1] - band.tops[point]) * s;
    return true;
}

bool inside(double height, double bottom, double top) {
    // Half open: an edge belongs to the layer above it, and a layer 0 thick holds nothing.
    return height >= bottom && height < top;
}

} // namespace

double LayerHit::edgeShare(double u) {
    u = qBound(0.0, u, 1.0);
    // t = w + 1/2 turns t^3 - 1.5t^2 + 1.5t - u into w^3 + 0.75w + (0.5 - u), which has one real root.
    const double q = 0.5 - u;
    const double root = std::sqrt(q * q / 4.0 + 1.0 / 64.0);
    double t = std::cbrt(-q / 2.0 + root) + std::cbrt(-q / 2.0 - root) + 0.5;
    // One Newton step against the rounding of the two cube roots; x'(t) >= 0.75.
    t -= (t * t * t - 1.5 * t * t + 1.5 * t - u) / (3.0 * t * t - 3.0 * t + 1.5);
    t = qBound(0.0, t, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

LayerHit LayerHit::find(const GraphLayout& layout, const QVector<QPainterPath>& labels, const QPointF& point,
                        double lineReach) {
    LayerHit hit;
    if (!layout.drawable || !(layout.xScale > 0.0) || !(layout.yScale > 0.0))
        return hit;
    const qint64 span = layout.months.span();
    const double m = point.x() / layout.xScale;
    const double reach = qMax(0.0, lineReach) / layout.xScale;
    if (!(m >= -reach && m <= double(span) + reach))
        return hit;
    hit.month = qBound<qint64>(0, std::llround(m), span);
    const double height = -point.y() / layout.yScale;

    const qint64 k = qBound<qint64>(0, qint64(std::floor(m)), span);
    const double u = m - double(k);
    const bool onMonth = u <= 0.0 || k == span;
    const double s = onMonth ? 0.0 : edgeShare(u);
    const int count = int(layout.layers.size());
    int band = -1;
    // Bands do not overlap; the topmost wins where edges meet.
    for (int i = count - 1; i >= 0 && band < 0; --i) {
        double bottom = 0.0;
        double top = 0.0;
        if (bandAt(layout.layers[i].band, k, s, onMonth, &bottom, &top) && inside(height, bottom, top))
            band = i;
    }
    // A band of one month is a vertical line at its month.
    for (int i = count - 1; i >= 0 && band < 0; --i) {
        const BandGeometry& geometry = layout.layers[i].band;
        if (geometry.count() == 1 && std::abs(m - geometry.first) <= reach && height >= geometry.bottoms[0] &&
            height <= geometry.tops[0])
            band = i;
    }
    hit.layer = band;
    // A name drawn later than the band covers it.
    if (labels.size() == count) {
        for (int i = count - 1; i > band; --i) {
            const QPainterPath& label = labels[i];
            if (!label.isEmpty() && label.controlPointRect().contains(point) && label.contains(point)) {
                hit.layer = i;
                break;
            }
        }
    }
    return hit;
}
