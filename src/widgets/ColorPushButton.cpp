#include "widgets/ColorPushButton.h"

#include <QBrush>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

ColorPushButton::ColorPushButton(QWidget* parent)
    : QPushButton(parent) {
    setFlat(true);
    setAutoFillBackground(true);
    // The flat "windows" look paints the palette colour over the whole face. Each button owns
    // its style instance as a child, so it goes away with the button and never twice.
    if (QStyle* windowsStyle = QStyleFactory::create(QStringLiteral("windows"))) {
        windowsStyle->setParent(this);
        setStyle(windowsStyle);
    }
}

QColor ColorPushButton::color() const {
    return palette().color(backgroundRole());
}

void ColorPushButton::setColor(const QColor& color) {
    if (!color.isValid())
        return;
    QPalette newPalette = palette();
    newPalette.setBrush(QPalette::All, backgroundRole(), QBrush(color, Qt::SolidPattern));
    setPalette(newPalette);
    emit colorChanged(palette().color(backgroundRole()));
}

void ColorPushButton::setColorText(const QString& text, const QColor& color) {
    setText(text);
    if (!color.isValid())
        return;
    QPalette newPalette = palette();
    newPalette.setBrush(QPalette::All, foregroundRole(), QBrush(color, Qt::SolidPattern));
    setPalette(newPalette);
}
