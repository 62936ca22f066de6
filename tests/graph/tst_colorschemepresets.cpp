#include "graph/ColorSchemePresets.h"

#include <QTest>

class ColorSchemePresetsTest : public QObject {
    Q_OBJECT
private slots:
    void presetsInComboOrder() {
        const QVector<ColorSchemePreset>& presets = colorSchemePresets();
        QCOMPARE(presets.size(), 8);
        const QStringList names = {QStringLiteral("grayscale"),   QStringLiteral("sunset"),
                                   QStringLiteral("winter"),      QStringLiteral("lime"),
                                   QStringLiteral("yellow2blue"), QStringLiteral("red blood"),
                                   QStringLiteral("green"),       QStringLiteral("sand")};
        for (int i = 0; i < presets.size(); ++i) {
            QCOMPARE(presets.at(i).name, names.at(i));
            QCOMPARE(colorSchemePresetIndex(names.at(i)), i);
            QCOMPARE(presets.at(i).maxColor.alpha(), 255);
            QCOMPARE(presets.at(i).minColor.alpha(), 255);
        }
        QCOMPARE(presets.first().maxColor.rgb(), qRgb(48, 48, 48));
        QCOMPARE(presets.first().minColor.rgb(), qRgb(150, 150, 150));
        QCOMPARE(presets.at(5).maxColor.rgb(), qRgb(83, 32, 33));
        QCOMPARE(presets.at(5).minColor.rgb(), qRgb(217, 47, 50));
        QCOMPARE(presets.last().maxColor.rgb(), qRgb(172, 131, 20));
        QCOMPARE(presets.last().minColor.rgb(), qRgb(251, 251, 172));
    }

    void unknownNamesAreNotFound() {
        QCOMPARE(colorSchemePresetIndex(QStringLiteral("custom")), -1);
        QCOMPARE(colorSchemePresetIndex(QStringLiteral("Sunset")), -1);
        QCOMPARE(colorSchemePresetIndex(QStringLiteral("red")), -1);
        QCOMPARE(colorSchemePresetIndex(QString()), -1);
    }

    void iconHasMaxAboveMin() {
        const ColorSchemePreset& sunset = colorSchemePresets().at(1);
        const QImage image = colorSchemePresetImage(sunset);
        QCOMPARE(image.size(), QSize(16, 16));
        for (int y = 0; y < 16; ++y) {
            const QRgb expected = y < 8 ? qRgb(246, 82, 82) : qRgb(255, 246, 75);
            for (int x = 0; x < 16; ++x)
                QCOMPARE(image.pixel(x, y), expected);
        }
    }
};

QTEST_GUILESS_MAIN(ColorSchemePresetsTest)
#include "tst_colorschemepresets.moc"
