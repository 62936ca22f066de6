#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QVector>

// The named two-colour presets offered next to "custom" in the control panel and on the
// command line. Entry i is colour-scheme combo index i + 1.
struct ColorSchemePreset {
    QString name;
    QColor maxColor;
    QColor minColor;
};

const QVector<ColorSchemePreset>& colorSchemePresets();

// Index into colorSchemePresets() of the preset with that name, or -1.
int colorSchemePresetIndex(const QString& name);

// 16 × 16 swatch: the upper eight rows in the max colour, the lower eight in the min colour.
QImage colorSchemePresetImage(const ColorSchemePreset& preset);

// The swatch as a pixmap for combo-box icons; needs a QGuiApplication.
QPixmap colorSchemePresetIcon(const ColorSchemePreset& preset);
