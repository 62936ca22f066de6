#include "graph/LayerLabel.h"

#include <cmath>

int LayerLabel::labelPoint(const SeriesPlacement& layer) {
    const int n = layer.count;
    for (int k = 1; k < n; ++k) {
        if (!(layer.points[k].value > 1.5 * layer.points[k - 1].value))
            return k - 1;
    }
    return qMax(0, n - 1);
}

double LayerLabel::shift(int point, int count) {
    if (point == 0)
        return 0.0;
    return point == count - 1 ? 0.35 : 0.25;
}

LayerLabel::Placement LayerLabel::place(const SeriesPlacement& layer, const QVector<double>& bottoms) {
    Placement placement;
    if (layer.count == 0)
        return placement;
    const int d = labelPoint(layer);
    placement.thickness = layer.points[d].value;
    placement.x = (layer.first + d) - shift(d, layer.count);
    placement.y = bottoms[d] + placement.thickness / 2.3;
    return placement;
}

int LayerLabel::pixelSize(double xScale, double yScale, double thickness) {
    // Also keeps the conversion defined.
    static constexpr double largest = LabelPlacement::largestPixelSize;
    const double size = xScale / 20.0 + thickness * yScale / 20.0;
    if (!(size >= 1.0))
        return 0;
    return int(std::trunc(qMin(size, largest)));
}

QString LayerLabel::text(const QString& name) {
    return name.size() <= 13 ? name : name.left(10) + QStringLiteral("...");
}

LabelPlacement LayerLabel::drawn(const Placement& placement, const QString& name, double xScale,
                                 double yScale) {
    LabelPlacement label;
    label.pixelSize = pixelSize(xScale, yScale, placement.thickness);
    if (label.pixelSize < 1 || name.isEmpty())
        return {};
    label.text = text(name);
    label.origin = QPointF(placement.x * xScale, -placement.y * yScale);
    return label;
}
