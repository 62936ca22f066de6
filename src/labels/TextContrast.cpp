#include "labels/TextContrast.h"

#include <algorithm>
#include <cmath>

namespace {

// An sRGB component, 0 .. 1, as linear light.
double linear(double component) {
    return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

} // namespace

double TextContrast::luminance(const QColor& color) {
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double TextContrast::ratio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TextContrast::readableOn(const QColor& fill) {
    return ratio(dark(), fill) >= ratio(light(), fill) ? dark() : light();
}
