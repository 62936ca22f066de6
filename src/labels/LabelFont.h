#pragma once

#include "labels/LabelPlacement.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QString>

// How large texts come out in the font labels are written in (the default font), per pixel of font
// size: at pixel size s a text is s times as wide and as high. Needs a GUI application.
class LabelFont {
public:
    struct TextSize {
        double width = 0.0; // advance width
        double ascent = 0.0;
        double descent = 0.0;
        double height() const { return ascent + descent; }
    };

    LabelFont();

    TextSize size(const QString& text) const;
    // A placed label's text box in scene units: its advance width by ascent plus descent, from the
    // top-left corner (y downwards).
    QRectF box(const LabelPlacement& label) const;

    // Large enough that rounding to whole pixels does not show in the ratios.
    static constexpr int referencePixels = 1000;

private:
    QFontMetricsF metrics;
};
