#include "labels/LabelFont.h"

#include <QFont>

namespace {

QFont referenceFont() {
    QFont font;
    font.setPixelSize(LabelFont::referencePixels);
    return font;
}

} // namespace

LabelFont::LabelFont()
    : metrics(referenceFont()) {}

LabelFont::TextSize LabelFont::size(const QString& text) const {
    const double scale = 1.0 / referencePixels;
    return TextSize{metrics.horizontalAdvance(text) * scale, metrics.ascent() * scale,
                    metrics.descent() * scale};
}

QRectF LabelFont::box(const LabelPlacement& label) const {
    const TextSize text = size(label.text);
    const double s = label.pixelSize;
    return QRectF(label.origin.x(), label.origin.y() - s * text.ascent, s * text.width, s * text.height());
}
