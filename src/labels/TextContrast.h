#pragma once

#include <QColor>

// Which of the dark and the light text colour reads better on a fill, by the contrast ratio of WCAG 2:
// (L1 + 0.05) / (L2 + 0.05) of the two colours' relative luminances, lighter over darker. Black and white
// are the text colours, so the better of the two is at least 4.58:1 on any opaque fill.
class TextContrast {
public:
    // Relative luminance, 0 for black .. 1 for white, of the colour's sRGB components (alpha ignored).
    static double luminance(const QColor& color);
    static double ratio(const QColor& a, const QColor& b);
    // The dark or the light text colour, whichever contrasts more with fill (dark when they tie).
    static QColor readableOn(const QColor& fill);

    static QColor dark() { return QColor(0, 0, 0); }
    static QColor light() { return QColor(255, 255, 255); }
};
