#include "export/TimeAxisFooter.h"
#include "graph/StackedGraph.h"
#include "support/BuildCounter.h"
#include "support/FakeDialogs.h"
#include "support/SeriesBuilder.h"
#include "view/StackedGraphView.h"
#include "widgets/ColorPushButton.h"
#include "widgets/StackedGraphWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A data set with the storage the graphs point into.
struct Data {
    QVector<DataSeries> series;
    QString unitText;
    bool unitAfterValue = true;
    QVector<QString> magnitudeSuffixes{QString(), QStringLiteral("k")};

    Data() {
        // Three series over 24 months (span 23) with different sizes.
        QString a, b, c;
        for (int i = 0; i < 24; ++i) {
            const QString month = QStringLiteral("%1.%2").arg(2000 + i / 12).arg(i % 12 + 1);
            a += QStringLiteral(" %1:%2").arg(month).arg(100 + 10 * i);
            if (i >= 4)
                b += QStringLiteral(" %1:%2").arg(month).arg(400 - 5 * i);
            if (i >= 8 && i < 20)
                c += QStringLiteral(" %1:%2").arg(month).arg(50 * (i - 7));
        }
        series = {seriesFromText(QStringLiteral("Alpha"), a), seriesFromText(QStringLiteral("Beta"), b),
                  seriesFromText(QStringLiteral("Gamma"), c)};
    }
};

struct Graph {
    explicit Graph(Data& data)
        : widget(&data.series, &data.unitText, &data.unitAfterValue, &data.magnitudeSuffixes, nullptr) {}
    StackedGraphWidget widget;
    StackedGraph* scene() const { return widget.stackedGraph; }
};

QColor rgb(int r, int g, int b) {
    return QColor(r, g, b);
}

QPushButton* exportButton(StackedGraphWidget& widget) {
    for (QPushButton* button : widget.findChildren<QPushButton*>())
        if (button->text() == QLatin1String("Export Graph to Image"))
            return button;
    return nullptr;
}

} // namespace

class StackedGraphWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void startState() {
        QVector<DataSeries> none;
        QString unit;
        bool after = true;
        QVector<QString> suffixes;
        StackedGraphWidget widget(&none, &unit, &after, &suffixes, nullptr);
        QCOMPARE(widget.baselineBox->currentText(), QStringLiteral("baseline"));
        QCOMPARE(widget.sortBox->currentText(), QStringLiteral("weighted"));
        QCOMPARE(widget.colorBox->currentText(), QStringLiteral("sum quant"));
        QCOMPARE(widget.colorSchemeBox->currentText(), QStringLiteral("grayscale"));
        QCOMPARE(widget.colorSchemeBox->count(), 9);
        QVERIFY(widget.colorSchemeBox->itemIcon(0).isNull());
        QVERIFY(!widget.colorSchemeBox->itemIcon(1).isNull());
        QCOMPARE(widget.colorButton1->color(), rgb(48, 48, 48));
        QCOMPARE(widget.colorButton2->color(), rgb(150, 150, 150));
        QCOMPARE(widget.imageSizeBox->currentIndex(), 2);
        QVERIFY(!widget.transparencyBox->isChecked());
        QCOMPARE(widget.stackedGraph->baselineAlgorithm(), 2);
        QCOMPARE(widget.stackedGraph->sortAlgorithm(), 2);
        QCOMPARE(widget.stackedGraph->colorAlgorithm(), 4);
        QCOMPARE(widget.stackedGraph->colorScale().maxColor, rgb(48, 48, 48));
        QVERIFY(widget.stackedGraph->rebuildEnabled);
        // Without series the scene reports one month, so the slider offers 160..640.
        QCOMPARE(widget.xRangeSlider->minimum(), 160);
        QCOMPARE(widget.xRangeSlider->maximum(), 640);
        QCOMPARE(widget.xRangeSlider->value(), 320);
        QCOMPARE(widget.xRangeSlider->orientation(), Qt::Vertical);
        QVERIFY(widget.xRangeSlider->invertedAppearance() && widget.xRangeSlider->invertedControls());
    }

    void dataRefreshSizesTheSlider() {
        Data data;
        Graph graph(data);
        const int span = graph.scene()->monthSpan();
        QCOMPARE(span, 23);
        QCOMPARE(graph.widget.xRangeSlider->minimum(), 160 * span);
        QCOMPARE(graph.widget.xRangeSlider->maximum(), 640 * span);
        QCOMPARE(graph.widget.xRangeSlider->value(), 320 * span);
        QCOMPARE(graph.scene()->xRange, 320.0 * span);
        QCOMPARE(graph.scene()->stackingOrder().size(), 3);
        QCOMPARE(graph.widget.imageSizeBox->itemText(2),
                 QStringLiteral("%1x%2").arg(320 * span).arg(int(graph.scene()->graphHeight)));
    }

    void comboChangesReachTheSceneBeforeTheSizeTexts() {
        Data data;
        Graph graph(data);
        graph.widget.baselineBox->setCurrentIndex(0);
        QCOMPARE(graph.scene()->baselineAlgorithm(), 0);
        // The size texts are computed from the height of the new graph.
        QCOMPARE(graph.widget.imageSizeBox->itemText(2), QStringLiteral("%1x%2")
                                                             .arg(graph.widget.xRangeSlider->value())
                                                             .arg(int(graph.scene()->graphHeight)));
        graph.widget.sortBox->setCurrentIndex(1);
        QCOMPARE(graph.scene()->sortAlgorithm(), 1);
        QCOMPARE(graph.widget.imageSizeBox->itemText(4), QStringLiteral("%1x%2")
                                                             .arg(4 * graph.widget.xRangeSlider->value())
                                                             .arg(4 * int(graph.scene()->graphHeight)));

        // A colouring change leaves the texts alone.
        graph.widget.imageSizeBox->setItemText(2, QStringLiteral("marker"));
        graph.widget.colorBox->setCurrentIndex(0);
        QCOMPARE(graph.scene()->colorAlgorithm(), 0);
        QCOMPARE(graph.widget.imageSizeBox->itemText(2), QStringLiteral("marker"));
    }

    void presetRestoresColoursWithOneRebuild() {
        Data data;
        Graph graph(data);
        FakeDialogs dialogs;
        dialogs.colorAnswer = rgb(10, 200, 30);
        QTest::mouseClick(graph.widget.colorButton1, Qt::LeftButton);
        QCOMPARE(dialogs.colorAsked, rgb(48, 48, 48));
        QCOMPARE(graph.widget.colorSchemeBox->currentText(), QStringLiteral("custom"));
        QCOMPARE(graph.scene()->colorScale().maxColor, rgb(10, 200, 30));
        QCOMPARE(graph.widget.colorButton2->color(), rgb(150, 150, 150));

        BuildCounter builds(graph.scene());
        graph.widget.colorSchemeBox->setCurrentIndex(2); // "sunset"
        QCOMPARE(builds.count(), 1);
        QCOMPARE(graph.widget.colorButton1->color(), rgb(246, 82, 82));
        QCOMPARE(graph.widget.colorButton2->color(), rgb(255, 246, 75));
        QCOMPARE(graph.scene()->colorScale().minColor, rgb(255, 246, 75));
        QCOMPARE(graph.widget.colorSchemeBox->currentText(), QStringLiteral("sunset"));

        // The same preset again is no change; "custom" changes nothing.
        graph.widget.colorSchemeBox->setCurrentIndex(2);
        QCOMPARE(builds.count(), 1);
        graph.widget.colorSchemeBox->setCurrentIndex(0);
        QCOMPARE(builds.count(), 1);
        QCOMPARE(graph.widget.colorButton1->color(), rgb(246, 82, 82));
    }

    void cancelledColourDialogChangesNothing() {
        Data data;
        Graph graph(data);
        FakeDialogs dialogs; // answers an invalid colour
        BuildCounter builds(graph.scene());
        QTest::mouseClick(graph.widget.colorButton2, Qt::LeftButton);
        QCOMPARE(builds.count(), 0);
        QCOMPARE(graph.widget.colorSchemeBox->currentText(), QStringLiteral("grayscale"));
        QCOMPARE(graph.widget.colorButton2->color(), rgb(150, 150, 150));
    }

    void sliderDragIsAppliedOnRelease() {
        Data data;
        Graph graph(data);
        QSlider* slider = graph.widget.xRangeSlider;
        BuildCounter builds(graph.scene());
        slider->setSliderDown(true);
        for (int value : {4000, 5000, 6000, 7000})
            slider->setValue(value);
        QCOMPARE(builds.count(), 0);
        QCOMPARE(graph.scene()->xRange, 320.0 * 23);
        slider->setSliderDown(false);
        QCOMPARE(builds.count(), 1);
        QCOMPARE(graph.scene()->xRange, 7000.0);
        QCOMPARE(graph.widget.imageSizeBox->itemText(2).section(QLatin1Char('x'), 0, 0),
                 QStringLiteral("7000"));

        // Keyboard steps apply at once.
        QTest::keyClick(slider, Qt::Key_Down);
        QCOMPARE(builds.count(), 2);
        QCOMPARE(graph.scene()->xRange, 7100.0);
    }

    void sliderTimerAppliesWhileHeld() {
        Data data;
        Graph graph(data);
        QSlider* slider = graph.widget.xRangeSlider;
        slider->setSliderDown(true);
        QVERIFY(graph.widget.xRangeSliderTimer->isActive());
        QCOMPARE(graph.widget.xRangeSliderTimer->interval(), 50);
        slider->setValue(5000);
        QTRY_COMPARE_WITH_TIMEOUT(graph.scene()->xRange, 5000.0, 1000);
        slider->setSliderDown(false);
        QVERIFY(!graph.widget.xRangeSliderTimer->isActive());
    }

    void settingsCopy() {
        Data data;
        Graph main(data);
        Graph compare(data);
        FakeDialogs dialogs;
        main.widget.baselineBox->setCurrentIndex(1);
        main.widget.sortBox->setCurrentIndex(0);
        main.widget.colorBox->setCurrentIndex(2);
        main.widget.xRangeSlider->setValue(6000);
        dialogs.colorAnswer = rgb(1, 2, 3);
        QTest::mouseClick(main.widget.colorButton2, Qt::LeftButton);
        main.widget.imageSizeBox->setCurrentIndex(4);
        main.widget.transparencyBox->setChecked(true);

        BuildCounter builds(compare.scene());
        compare.widget = main.widget;
        QCOMPARE(builds.count(), 1);
        QCOMPARE(compare.widget.baselineBox->currentIndex(), 1);
        QCOMPARE(compare.widget.sortBox->currentIndex(), 0);
        QCOMPARE(compare.widget.colorBox->currentIndex(), 2);
        QCOMPARE(compare.scene()->baselineAlgorithm(), 1);
        QCOMPARE(compare.scene()->sortAlgorithm(), 0);
        QCOMPARE(compare.widget.xRangeSlider->value(), 6000);
        QCOMPARE(compare.scene()->xRange, 6000.0);
        QCOMPARE(compare.widget.colorButton2->color(), rgb(1, 2, 3));
        QCOMPARE(compare.scene()->colorScale().minColor, rgb(1, 2, 3));
        QCOMPARE(compare.widget.colorSchemeBox->currentText(), QStringLiteral("custom"));
        // The export settings stay the compare graph's own.
        QCOMPARE(compare.widget.imageSizeBox->currentIndex(), 2);
        QVERIFY(!compare.widget.transparencyBox->isChecked());

        // A preset selection is copied and applied again.
        main.widget.colorSchemeBox->setCurrentIndex(8);
        compare.widget = main.widget;
        QCOMPARE(compare.widget.colorSchemeBox->currentText(), QStringLiteral("sand"));
        QCOMPARE(compare.widget.colorButton1->color(), rgb(172, 131, 20));
    }

    void sizeTextsForAKnownGraph() {
        Data data;
        Graph graph(data);
        graph.widget.xRangeSlider->setMaximum(10000);
        graph.widget.xRangeSlider->setValue(3846);
        graph.scene()->graphHeight = 1234.7;
        QMetaObject::invokeMethod(&graph.widget, "makeImageSizeBoxText");
        QStringList texts;
        for (int i = 0; i < 5; ++i)
            texts << graph.widget.imageSizeBox->itemText(i);
        QCOMPARE(texts, QStringList({QStringLiteral("961x308"), QStringLiteral("1923x617"),
                                     QStringLiteral("3846x1234"), QStringLiteral("7692x2468"),
                                     QStringLiteral("15384x4936")}));
    }

    void exportWritesTheChosenSize() {
        Data data;
        Graph graph(data);
        QTemporaryDir dir;
        FakeDialogs dialogs;
        dialogs.saveAnswer = dir.filePath(QStringLiteral("graph")); // no extension: still PNG
        graph.widget.imageSizeBox->setCurrentIndex(0);
        graph.widget.transparencyBox->setChecked(true);
        QTest::mouseClick(exportButton(graph.widget), Qt::LeftButton);
        QCOMPARE(dialogs.captions.value(0), QStringLiteral("save Image|PNG (*.png);;All Files (*)"));
        QVERIFY2(dialogs.warnings.isEmpty(), qPrintable(dialogs.warnings.join(QLatin1Char('\n'))));
        QImage image(dialogs.saveAnswer, "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(),
                 QSize(graph.widget.xRangeSlider->value() / 4, int(graph.scene()->graphHeight) / 4));
        QVERIFY(image.hasAlphaChannel());
        // The bottom right is below the stack's lowest point: background.
        QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);

        graph.widget.transparencyBox->setChecked(false);
        QTest::mouseClick(exportButton(graph.widget), Qt::LeftButton);
        image = QImage(dialogs.saveAnswer, "PNG");
        QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));

        // With the view's time axis on, the axis rows come below the same graph; the size texts stay.
        const QString sizeText = graph.widget.imageSizeBox->currentText();
        graph.scene()->view->setTimeAxis(true);
        QTest::mouseClick(exportButton(graph.widget), Qt::LeftButton);
        const QImage withAxis(dialogs.saveAnswer, "PNG");
        QCOMPARE(withAxis.size(), image.size() + QSize(0, TimeAxisFooter::rows()));
        QCOMPARE(withAxis.copy(image.rect()), image);
        QCOMPARE(graph.widget.imageSizeBox->currentText(), sizeText);
    }

    void failedExportIsReportedAndKeepsTheOldFile() {
        Data data;
        Graph graph(data);
        QTemporaryDir dir;
        FakeDialogs dialogs;
        // A graph too low for a quarter-size image.
        dialogs.saveAnswer = dir.filePath(QStringLiteral("old.png"));
        QFile old(dialogs.saveAnswer);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous contents");
        old.close();
        graph.scene()->graphHeight = 3;
        graph.widget.imageSizeBox->setCurrentIndex(0);
        QTest::mouseClick(exportButton(graph.widget), Qt::LeftButton);
        QCOMPARE(dialogs.warnings.size(), 1);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous contents"));
        old.close();

        dialogs.saveAnswer = dir.filePath(QStringLiteral("missing/folder/graph.png"));
        graph.widget.imageSizeBox->setCurrentIndex(2);
        QTest::mouseClick(exportButton(graph.widget), Qt::LeftButton);
        QCOMPARE(dialogs.warnings.size(), 2);
        QVERIFY(dialogs.warnings.last().contains(QStringLiteral("graph.png")));

        // A cancelled dialog does nothing at all.
        dialogs.saveAnswer.clear();
        QTest::mouseClick(exportButton(graph.widget), Qt::LeftButton);
        QCOMPARE(dialogs.warnings.size(), 2);
    }
};

QTEST_MAIN(StackedGraphWidgetTest)
#include "tst_stackedgraphwidget.moc"
