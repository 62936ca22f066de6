#include "graph/LabelCache.h"

#include <QFont>

#include <cmath>
#include <limits>

namespace {

// Where Qt puts a text origin: the coordinate in 1/64 pixels, truncated toward zero. False
// when that does not fit Qt's fixed-point type.
bool textOrigin(double value, double* origin) {
    const double scaled = value * 64.0;
    if (!std::isfinite(scaled) || std::abs(scaled) >= double(std::numeric_limits<int>::max()))
        return false;
    *origin = double(int(scaled)) / 64.0;
    return true;
}

} // namespace

void LabelCache::startBuild() {
    previous = std::move(current);
    current = QHash<Key, QPainterPath>();
    previousElements = currentElements;
    currentElements = 0;
}

QPainterPath LabelCache::outlines(const LayerLabel::Placement& placement, const QString& name, double xScale,
                                  double yScale) {
    return outlines(LayerLabel::drawn(placement, name, xScale, yScale));
}

QPainterPath LabelCache::outlines(const LabelPlacement& label) {
    if (label.isEmpty())
        return {};
    double x = 0.0;
    double y = 0.0;
    if (!textOrigin(label.origin.x(), &x) || !textOrigin(label.origin.y(), &y))
        return LayerLabel::outlines(label);
    Key key{label.text, label.pixelSize};
    auto found = current.constFind(key);
    if (found != current.constEnd())
        return found.value().translated(x, y);
    QPainterPath glyphs;
    auto old = previous.find(key);
    if (old != previous.end()) {
        glyphs = std::move(old.value());
        previous.erase(old);
        previousElements -= glyphs.elementCount();
    } else {
        QFont font;
        font.setPixelSize(label.pixelSize);
        glyphs.addText(0.0, 0.0, font, key.text);
    }
    const QPainterPath placed = glyphs.translated(x, y);
    if (currentElements + previousElements + glyphs.elementCount() <= maxElements) {
        currentElements += glyphs.elementCount();
        current.insert(std::move(key), std::move(glyphs));
    }
    return placed;
}
