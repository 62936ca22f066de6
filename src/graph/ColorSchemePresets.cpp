#include "graph/ColorSchemePresets.h"

#include <QImage>

const QVector<ColorSchemePreset>& colorSchemePresets() {
    static const QVector<ColorSchemePreset> presets = {
        {QStringLiteral("grayscale"), QColor(48, 48, 48), QColor(150, 150, 150)},
        {QStringLiteral("sunset"), QColor(246, 82, 82), QColor(255, 246, 75)},
        {QStringLiteral("winter"), QColor(153, 211, 255), QColor(220, 255, 255)},
        {QStringLiteral("lime"), QColor(93, 170, 16), QColor(255, 246, 75)},
        {QStringLiteral("yellow2blue"), QColor(96, 122, 170), QColor(255, 255, 127)},
        {QStringLiteral("red blood"), QColor(83, 32, 33), QColor(217, 47, 50)},
        {QStringLiteral("green"), QColor(16, 129, 69), QColor(178, 255, 169)},
        {QStringLiteral("sand"), QColor(172, 131, 20), QColor(251, 251, 172)},
    };
    return presets;
}

int colorSchemePresetIndex(const QString& name) {
    const QVector<ColorSchemePreset>& presets = colorSchemePresets();
    for (int i = 0; i < presets.size(); ++i) {
        if (presets.at(i).name == name)
            return i;
    }
    return -1;
}

QImage colorSchemePresetImage(const ColorSchemePreset& preset) {
    QImage image(16, 16, QImage::Format_ARGB32);
    const QRgb max = preset.maxColor.rgba();
    const QRgb min = preset.minColor.rgba();
    for (int y = 0; y < 16; ++y) {
        const QRgb rgb = y < 8 ? max : min;
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, rgb);
    }
    return image;
}

QPixmap colorSchemePresetIcon(const ColorSchemePreset& preset) {
    return QPixmap::fromImage(colorSchemePresetImage(preset));
}
