#include "widgets/ColorPushButton.h"

// Placeholder bodies so that everything links while the button is written.
ColorPushButton::ColorPushButton(QWidget* parent) : QPushButton(parent) {}
QColor ColorPushButton::color() const { return {}; }
void ColorPushButton::setColor(const QColor&) {}
void ColorPushButton::setColorText(const QString&, const QColor&) {}
