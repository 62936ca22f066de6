#include "graph/ColorScheme1D.h"

// Placeholder bodies so that everything links while the colour scale is written.
ColorScheme1D::ColorScheme1D() = default;
ColorScheme1D::ColorScheme1D(const QColor& max, const QColor& min) : maxColor(max), minColor(min) {}
ColorScheme1D::ColorScheme1D(const QColor& max) : maxColor(max) {}
ColorScheme1D::~ColorScheme1D() = default;
void ColorScheme1D::setColors(const QColor& max, const QColor& min) { maxColor = max; minColor = min; }
void ColorScheme1D::setMaxColor(const QColor& max) { maxColor = max; }
void ColorScheme1D::setMinColor(const QColor& min) { minColor = min; }
QColor ColorScheme1D::colorAt(double) const { return maxColor; }
QColor ColorScheme1D::textColorAt(double) const { return Qt::black; }
