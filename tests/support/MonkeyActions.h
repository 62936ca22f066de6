#pragma once

#include "app/MainWindow.h"
#include "data/DataSet.h"
#include "export/ImageSize.h"
#include "export/TimeAxisFooter.h"
#include "graph/ColorSchemePresets.h"
#include "graph/StackedGraph.h"
#include "support/DataSnapshot.h"
#include "support/FakeDialogs.h"
#include "support/MonkeyFiles.h"
#include "support/TestFiles.h"
#include "support/WheelEvents.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/ColorPushButton.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

// The user actions of a random run on the main window. Each draws what it does from the
// run's generator, acts on the real widgets, checks what it can see at once and returns a
// line for the run's log: what it did, or a text starting with FAIL. Nothing here may
// depend on time, or a seed would not replay.
class MonkeyActions {
public:
    MonkeyActions(MainWindow& window, FakeDialogs& dialogs, MonkeyFiles& files, QRandomGenerator& rng)
        : window(window)
        , dialogs(dialogs)
        , files(files)
        , rng(rng) {}

    QString changeCombo() {
        StackedGraphWidget* graph = someGraph();
        QComboBox* boxes[] = {graph->baselineBox, graph->sortBox, graph->colorBox, graph->colorSchemeBox};
        QComboBox* box = boxes[rng.bounded(4)];
        switch (rng.bounded(3)) {
        case 0:
            QTest::keyClick(box, Qt::Key_Down);
            return QStringLiteral("key down on a combo box");
        case 1:
            QTest::keyClick(box, Qt::Key_Up);
            return QStringLiteral("key up on a combo box");
        default:
            box->setCurrentIndex(int(rng.bounded(box->count())));
            return QStringLiteral("combo box index %1").arg(box->currentIndex());
        }
    }

    QString pickColor() {
        StackedGraphWidget* graph = someGraph();
        ColorPushButton* button = rng.bounded(2) ? graph->colorButton1 : graph->colorButton2;
        // One answer in four is a cancelled dialog.
        dialogs.colorAnswer = rng.bounded(4) == 0
                                  ? QColor()
                                  : QColor::fromRgb(rng.bounded(256), rng.bounded(256), rng.bounded(256));
        const QColor before = button->color();
        QTest::mouseClick(button, Qt::LeftButton);
        const QColor expected = dialogs.colorAnswer.isValid() ? dialogs.colorAnswer : before;
        if (button->color() != expected)
            return QStringLiteral("FAIL: the colour button shows %1, not %2")
                .arg(button->color().name(), expected.name());
        if (dialogs.colorAnswer.isValid() && graph->colorSchemeBox->currentIndex() != 0)
            return QStringLiteral("FAIL: a picked colour left the scheme box at a preset");
        return QStringLiteral("colour %1").arg(expected.name());
    }

    QString choosePreset() {
        StackedGraphWidget* graph = someGraph();
        const int index = 1 + int(rng.bounded(colorSchemePresets().size()));
        graph->colorSchemeBox->setCurrentIndex(index);
        const ColorSchemePreset& preset = colorSchemePresets()[index - 1];
        if (graph->colorButton1->color() != preset.maxColor ||
            graph->colorButton2->color() != preset.minColor)
            return QStringLiteral("FAIL: preset %1 did not set its colours").arg(preset.name);
        return QStringLiteral("preset %1").arg(preset.name);
    }

    QString dragSlider() {
        StackedGraphWidget* graph = someGraph();
        QSlider* slider = graph->xRangeSlider;
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        option.singleStep = slider->singleStep();
        option.pageStep = slider->pageStep();
        option.upsideDown = slider->orientation() == Qt::Vertical ? !slider->invertedAppearance()
                                                                  : slider->invertedAppearance();
        option.subControls = QStyle::SC_All;
        const QRect handle =
            slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
        QPoint position = handle.center();
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, position);
        const bool held = slider->isSliderDown();
        heldSliders += held ? 1 : 0;
        const int moves = int(rng.bounded(4));
        QTimer* timer = graph->xRangeSliderTimer;
        QStringList widths;
        for (int i = 0; i < moves; ++i) {
            position.ry() += int(rng.bounded(121)) - 60;
            QTest::mouseMove(slider, position);
            // Now and then the 50 ms timer applies the value. Its tick is sent here rather than
            // waited for, so that a seed replays the same whatever the machine's speed.
            if (rng.bounded(2) && timer->isActive()) {
                QTimerEvent tick(timer->timerId());
                QCoreApplication::sendEvent(timer, &tick);
                if (graph->stackedGraph->xRange != slider->value())
                    return QStringLiteral(
                               "FAIL: a tick of the slider's timer left the graph width at %1, not %2")
                        .arg(graph->stackedGraph->xRange)
                        .arg(slider->value());
            }
            widths << QString::number(graph->stackedGraph->xRange);
        }
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, position);
        if (slider->isSliderDown())
            return QStringLiteral("FAIL: the slider is still down after the release");
        if (graph->stackedGraph->xRange != slider->value())
            return QStringLiteral("FAIL: the graph width %1 is not the slider's %2")
                .arg(graph->stackedGraph->xRange)
                .arg(slider->value());
        return QStringLiteral("slider drag (%1, widths %2) to %3")
            .arg(held ? QStringLiteral("held") : QStringLiteral("missed"), widths.join(QLatin1Char(' ')))
            .arg(slider->value());
    }

    QString nudgeSlider() {
        QSlider* slider = someGraph()->xRangeSlider;
        const Qt::Key keys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Up,
                                Qt::Key_Down,   Qt::Key_Home,     Qt::Key_End};
        QTest::keyClick(slider, keys[rng.bounded(6)]);
        return QStringLiteral("slider key to %1").arg(slider->value());
    }

    QString wheel() {
        QWidget* viewport = someViewport();
        const QPointF pos = somePoint(viewport);
        const int delta =
            (int(rng.bounded(6)) - 3) * 120 + (rng.bounded(4) == 0 ? int(rng.bounded(61)) - 30 : 0);
        const bool horizontal = rng.bounded(8) == 0;
        sendWheel(viewport, horizontal ? QPoint(delta, 0) : QPoint(0, delta), pos);
        return QStringLiteral("wheel %1%2")
            .arg(delta)
            .arg(horizontal ? QStringLiteral(" horizontal") : QString());
    }

    QString rightClick() {
        QWidget* viewport = someViewport();
        QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, somePoint(viewport));
        return QStringLiteral("right click");
    }

    QString middleClick() {
        QWidget* viewport = someViewport();
        QTest::mouseClick(viewport, Qt::MiddleButton, Qt::NoModifier, somePoint(viewport));
        return QStringLiteral("middle click");
    }

    QString panView() {
        QWidget* viewport = someViewport();
        QPoint position = somePoint(viewport);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, position);
        for (int i = 0; i < 3; ++i) {
            position += QPoint(int(rng.bounded(81)) - 40, int(rng.bounded(81)) - 40);
            QTest::mouseMove(viewport, position);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, position);
        return QStringLiteral("pan");
    }

    QString toggle() {
        const char* names[] = {"Compare Graph", "Detailed Information", "Auto OpenGL",
                               "OpenGL",        "Fit Labels",           "Time Axis",
                               "Readout",       "Series List",          "Fill Window"};
        const char* name = names[rng.bounded(9)];
        QAction* entry = findAction(window, QString::fromLatin1(name));
        entry->trigger();
        if (qstrcmp(name, "Compare Graph") == 0 &&
            window.centralWidget->compareGraph->isVisible() != entry->isChecked())
            return QStringLiteral("FAIL: the compare graph does not follow its menu entry");
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(name),
                                           entry->isChecked() ? QStringLiteral("on") : QStringLiteral("off"));
    }

    QString load(const MonkeyFiles::File& file) {
        using Outcome = MonkeyFiles::File::Outcome;
        const DataSnapshot before(window);
        const qsizetype warnings = dialogs.warnings.size();
        dialogs.openAnswer = file.path;
        findAction(window, QStringLiteral("Load Data"))->trigger();
        const bool failed = dialogs.warnings.size() > warnings;
        const QString shown = QStringLiteral("load %1 (%2)")
                                  .arg(files.shortPath(file.path),
                                       failed ? QStringLiteral("failed") : QStringLiteral("loaded"));
        if (failed) {
            ++failedLoads;
            if (file.outcome == Outcome::Loads)
                return QStringLiteral("FAIL: %1: %2").arg(shown, dialogs.warnings.last());
            const QString difference = before.differenceTo(DataSnapshot(window));
            if (!difference.isEmpty())
                return QStringLiteral("FAIL: %1 lost the data loaded before: %2").arg(shown, difference);
            return shown;
        }
        if (file.outcome == Outcome::Fails)
            return QStringLiteral("FAIL: %1 should have been refused").arg(shown);
        const CentralWidget& central = *window.centralWidget;
        const QString broken = invariantFault(
            DataSet{central.series, central.unitText, central.unitAfterValue, central.magnitudeSuffixes});
        if (!broken.isEmpty())
            return QStringLiteral("FAIL: %1: %2").arg(shown, broken);
        const int seriesCount = int(window.centralWidget->series.size());
        if (file.series >= 0 && seriesCount != file.series)
            return QStringLiteral("FAIL: %1 gave %2 series, not %3")
                .arg(shown)
                .arg(seriesCount)
                .arg(file.series);
        for (StackedGraphWidget* graph :
             {window.centralWidget->mainGraph, window.centralWidget->compareGraph})
            if (drawnLayers(graph) != seriesCount)
                return QStringLiteral("FAIL: %1: a graph shows %2 layers for %3 series")
                    .arg(shown)
                    .arg(drawnLayers(graph))
                    .arg(seriesCount);
        const QString title = QStringLiteral("Stacked Graph (%1)").arg(MainWindow::shortName(file.path));
        if (window.windowTitle() != title)
            return QStringLiteral("FAIL: %1 titled the window %2").arg(shown, window.windowTitle());
        return shown;
    }

    QString loadGood() {
        if (rng.bounded(2) == 0) {
            int seriesCount = 0;
            const QByteArray text = MonkeyFiles::randomGood(rng, &seriesCount);
            const QString path =
                files.write(QStringLiteral("random-%1.data").arg(generatedFiles++ % 4), text);
            return load(MonkeyFiles::File{path, MonkeyFiles::File::Outcome::Loads, seriesCount});
        }
        return load(files.good()[rng.bounded(files.good().size())]);
    }

    QString loadHostile() { return load(files.hostile()[rng.bounded(files.hostile().size())]); }

    QString exportImage() {
        StackedGraphWidget* graph = someGraph();
        graph->imageSizeBox->setCurrentIndex(int(rng.bounded(2)));
        if (rng.bounded(2))
            QTest::mouseClick(graph->transparencyBox, Qt::LeftButton);
        const QSize size =
            ImageSize::forChoice(graph->imageSizeBox->currentIndex(), graph->xRangeSlider->value(),
                                 int(graph->stackedGraph->graphHeight));
        if (qint64(size.width()) * size.height() > maxExportPixels)
            return QStringLiteral("export skipped, %1 too large").arg(ImageSize::text(size));

        enum class Place { Good, MissingDirectory, Directory, Cancelled };
        const Place place = Place(rng.bounded(4));
        QString target;
        switch (place) {
        case Place::Good:
            target = files.filePath(QStringLiteral("export-%1.png").arg(exports++ % 3));
            QFile::remove(target);
            break;
        case Place::MissingDirectory:
            target = files.filePath(QStringLiteral("no/such/dir/export.png"));
            break;
        case Place::Directory:
            target = files.path();
            break;
        case Place::Cancelled:
            break;
        }
        dialogs.saveAnswer = target;
        const qsizetype warnings = dialogs.warnings.size();
        QPushButton* button = nullptr;
        for (QPushButton* candidate : graph->findChildren<QPushButton*>())
            if (candidate->text() == QLatin1String("Export Graph to Image"))
                button = candidate;
        if (!button)
            return QStringLiteral("FAIL: no export button");
        QTest::mouseClick(button, Qt::LeftButton);
        const bool warned = dialogs.warnings.size() > warnings;
        const QString shown =
            QStringLiteral("export %1 to %2").arg(ImageSize::text(size), files.shortPath(target));
        const bool possible = !size.isEmpty();
        switch (place) {
        case Place::Good: {
            if (possible == warned)
                return QStringLiteral("FAIL: %1 %2 a warning")
                    .arg(shown, warned ? QStringLiteral("gave") : QStringLiteral("gave no"));
            if (!possible)
                return shown;
            QImageReader reader(target);
            // While the time axis is on, its rows come below the graph's.
            const bool axis = graph->stackedGraph->view->timeAxis && graph->stackedGraph->layout().drawable;
            const QSize written = size + QSize(0, axis ? TimeAxisFooter::rows() : 0);
            if (reader.format() != "png" || reader.size() != written)
                return QStringLiteral("FAIL: %1 wrote no %2 PNG").arg(shown, ImageSize::text(written));
            return shown;
        }
        case Place::MissingDirectory:
        case Place::Directory:
            if (!warned)
                return QStringLiteral("FAIL: %1 failed without a warning").arg(shown);
            return shown;
        case Place::Cancelled:
            if (warned)
                return QStringLiteral("FAIL: a cancelled export warned");
            return QStringLiteral("export cancelled");
        }
        return shown;
    }

    QString showAbout() {
        findAction(window, QStringLiteral("About"))->trigger();
        return QStringLiteral("about");
    }

    // What the run has done so far, for its summary and checks.
    int heldSliders = 0;
    int failedLoads = 0;

private:
    // Exports render the whole graph; larger images would only make the run slow.
    static constexpr qint64 maxExportPixels = 4000000;

    StackedGraphWidget* someGraph() {
        StackedGraphWidget* compare = window.centralWidget->compareGraph;
        if (compare->isVisible() && rng.bounded(2))
            return compare;
        return window.centralWidget->mainGraph;
    }

    QWidget* someViewport() { return someGraph()->stackedGraph->view->viewport(); }

    QPoint somePoint(const QWidget* widget) {
        return QPoint(int(rng.bounded(qMax(1, widget->width()))),
                      int(rng.bounded(qMax(1, widget->height()))));
    }

    MainWindow& window;
    FakeDialogs& dialogs;
    MonkeyFiles& files;
    QRandomGenerator& rng;
    // A few names used in turn, so that a long run does not fill the folder.
    int generatedFiles = 0;
    int exports = 0;
};
