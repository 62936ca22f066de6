#include "data/DataFileReader.h"
#include "graph/ColorScheme1D.h"
#include "graph/ColorSchemePresets.h"
#include "graph/GraphLayout.h"
#include "graph/LayerItems.h"
#include "labels/LabelCache.h"
#include "labels/TextContrast.h"
#include "support/TestFiles.h"

#include <QGraphicsScene>
#include <QTest>

class TextContrastTest : public QObject {
    Q_OBJECT
private slots:
    void ratios() {
        QCOMPARE(TextContrast::luminance(Qt::white), 1.0);
        QCOMPARE(TextContrast::luminance(Qt::black), 0.0);
        QCOMPARE(TextContrast::ratio(Qt::black, Qt::white), (1.0 + 0.05) / (0.0 + 0.05));
        QCOMPARE(TextContrast::ratio(Qt::white, Qt::black), 21.0);
        // sRGB 119 is linear 0.1845: the grey whose contrast with white just misses 4.5:1.
        QVERIFY(qAbs(TextContrast::ratio(QColor(119, 119, 119), Qt::white) - 4.48) < 0.01);
        QCOMPARE(TextContrast::readableOn(QColor(119, 119, 119)), TextContrast::dark());
        QCOMPARE(TextContrast::readableOn(QColor(83, 32, 33)), TextContrast::light());
        // The sunset preset's yellow takes dark text where the scale's button rule would too.
        QCOMPARE(TextContrast::readableOn(QColor(255, 246, 75)), TextContrast::dark());
    }

    // Every fitted name against its own band, for every preset and two custom pairs of end colours.
    void fittedNamesAreReadable_data() {
        QTest::addColumn<QColor>("maxColor");
        QTest::addColumn<QColor>("minColor");
        for (const ColorSchemePreset& preset : colorSchemePresets())
            QTest::newRow(qPrintable(preset.name)) << preset.maxColor << preset.minColor;
        QTest::newRow("custom: mid greys") << QColor(119, 119, 119) << QColor(128, 128, 128);
        QTest::newRow("custom: blue to orange") << QColor(0, 0, 255) << QColor(255, 140, 0);
    }
    void fittedNamesAreReadable() {
        QFETCH(QColor, maxColor);
        QFETCH(QColor, minColor);
        GraphSettings settings;
        settings.maxColor = maxColor;
        settings.minColor = minColor;
        settings.labels = GraphSettings::LabelMode::Fitted;
        settings.width = 320.0 * 121;
        const GraphLayout layout = layOut(DataFileReader::readFile(exampleDataFile()).data, settings);
        QGraphicsScene scene;
        LabelCache labels;
        const QVector<LayerItem*> items = LayerItems::addTo(scene, layout, ColorScheme1D(maxColor, minColor),
                                                            labels, LayerItem::Storage::WholePath);
        int named = 0;
        for (const LayerItem* item : items) {
            if (item->filledLabel().isEmpty())
                continue;
            ++named;
            const double ratio = TextContrast::ratio(item->labelFill().color(), item->brush().color());
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("%1 on %2: %3")
                                    .arg(item->labelFill().color().name(), item->brush().color().name())
                                    .arg(ratio)));
        }
        QVERIFY(named >= 10);
    }

    // Classic names stay cut out of their band.
    void classicNamesAreCutOut() {
        GraphSettings settings;
        const GraphLayout layout = layOut(DataFileReader::readFile(exampleDataFile()).data, settings);
        QGraphicsScene scene;
        LabelCache labels;
        for (const LayerItem* item : LayerItems::addTo(scene, layout, ColorScheme1D(Qt::red, Qt::yellow),
                                                       labels, LayerItem::Storage::WholePath)) {
            QVERIFY(item->filledLabel().isEmpty());
            QCOMPARE(item->labelFill().style(), Qt::NoBrush);
        }
    }
};

QTEST_MAIN(TextContrastTest)
#include "tst_textcontrast.moc"
