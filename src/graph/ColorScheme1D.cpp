#include "graph/ColorScheme1D.h"

#include <QtGlobal>

#include <cmath>

ColorScheme1D::ColorScheme1D() {
    maxColor.setNamedColor(QStringLiteral("lightGray"));
    minColor.setNamedColor(QStringLiteral("black"));
}

ColorScheme1D::ColorScheme1D(const QColor& max, const QColor& min)
    : maxColor(max)
    , minColor(min) {}

ColorScheme1D::ColorScheme1D(const QColor& max)
    : maxColor(max) {}

ColorScheme1D::~ColorScheme1D() = default;

void ColorScheme1D::setColors(const QColor& max, const QColor& min) {
    maxColor = max;
    minColor = min;
}

void ColorScheme1D::setMaxColor(const QColor& max) {
    maxColor = max;
}

void ColorScheme1D::setMinColor(const QColor& min) {
    minColor = min;
}

namespace {

// Weighted sum of two components, truncated toward zero. Hue −1 of greys is blended like
// any other number, without wrapping around the colour circle.
int blend(double position, int max, int min) {
    return static_cast<int>(position * max + (1.0 - position) * min);
}

} // namespace

QColor ColorScheme1D::colorAt(double position) const {
    QColor color;
    if (!minColor.isValid()) {
        color.setNamedColor(QStringLiteral("gray"));
        return color;
    }
    if (!maxColor.isValid()) {
        color.setNamedColor(QStringLiteral("red"));
        return color;
    }
    // Positions from callers should lie in [0, 1]; clamping keeps setHsv in range for others.
    const double p = std::isfinite(position) ? qBound(0.0, position, 1.0) : 0.0;
    color.setHsv(blend(p, maxColor.hsvHue(), minColor.hsvHue()),
                 blend(p, maxColor.saturation(), minColor.saturation()),
                 blend(p, maxColor.value(), minColor.value()), blend(p, maxColor.alpha(), minColor.alpha()));
    return color;
}

QColor ColorScheme1D::textColorAt(double position) const {
    QColor text;
    if (colorAt(position).value() < 140)
        text.setHsv(0, 0, 255, 255);
    else
        text.setHsv(0, 0, 0, 255);
    return text;
}
