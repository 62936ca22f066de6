#pragma once

#include <QColor>

// A colour scale between two end colours: position 1 is maxColor, 0 is minColor, and
// positions between blend the two component-wise in HSV.
class ColorScheme1D {
public:
    ColorScheme1D();
    ColorScheme1D(const QColor& max, const QColor& min);
    explicit ColorScheme1D(const QColor& max);
    virtual ~ColorScheme1D();

    void setColors(const QColor& max, const QColor& min);
    void setMaxColor(const QColor& max);
    void setMinColor(const QColor& min);

    QColor colorAt(double position) const;
    QColor textColorAt(double position) const;

    QColor maxColor;
    QColor minColor;
};
