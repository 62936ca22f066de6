#pragma once

#include <QColor>
#include <QPushButton>
#include <QString>

// A flat push button whose face shows a colour and, on it, a legend text.
class ColorPushButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorPushButton(QWidget* parent);

    QColor color() const;

signals:
    void colorChanged(const QColor& color);

public slots:
    void setColor(const QColor& color);
    void setColorText(const QString& text, const QColor& color);
};
