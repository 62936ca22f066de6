#include "graph/StackedGraph.h"
#include "support/TestFiles.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/FillWindow.h"
#include "widgets/SeriesListDock.h"
#include "widgets/SeriesListModel.h"
#include "widgets/StackedGraphWidget.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTreeView>

namespace {

struct Window {
    Window() {
        central.resize(1000, 600);
        central.show();
        ready = QTest::qWaitForWindowExposed(&central) && central.loadDataFile(exampleDataFile());
        QCoreApplication::processEvents();
    }
    StackedGraph* scene(int graph) const {
        return (graph == 0 ? central.mainGraph : central.compareGraph)->stackedGraph;
    }
    CentralWidget central{nullptr};
    bool ready = false;
};

// The width Fill Window gives a graph in its view as it is now.
int fillWidth(const StackedGraph* scene) {
    return FillWindow::widthFor(scene->layout().sceneRect.height(), scene->view->viewport()->size());
}

} // namespace

class GraphInquiryTest : public QObject {
    Q_OBJECT
private slots:
    // Hidden series leave both graphs with one rebuild each; a load shows them all again.
    void hiddenSeriesInBothGraphs() {
        Window w;
        QVERIFY(w.ready);
        const GraphLayout before = w.scene(0)->layout();
        QSignalSpy announced(w.central.compareGraph, &StackedGraphWidget::hiddenSeriesChanged);
        const int builds = w.scene(0)->buildCount();
        w.central.setHiddenSeries({3, 1});
        QCOMPARE(w.scene(0)->buildCount(), builds + 1);
        QCOMPARE(w.scene(1)->stackingOrder().size(), w.central.series.size() - 2);
        QCOMPARE(announced.last().first().value<QVector<int>>(), QVector<int>({1, 3}));
        // Shown again, the layout is the one it was, to the last colour.
        w.central.setHiddenSeries({});
        for (int i = 0; i < before.layers.size(); ++i) {
            QCOMPARE(w.scene(0)->layout().layers[i].band.tops, before.layers[i].band.tops);
            QCOMPARE(w.scene(0)->layout().layers[i].colorPosition, before.layers[i].colorPosition);
        }
        QVERIFY(w.central.loadDataFile(exampleDataFile()));
        QVERIFY(w.scene(0)->hiddenSeries().isEmpty() && w.scene(1)->hiddenSeries().isEmpty());
    }

    void seriesListFiltersHidesAndSelects() {
        SeriesListDock dock(nullptr);
        QVector<SeriesRow> rows(4);
        const char* names[] = {"Event 21", "Farms", "event 3", "Mining"};
        for (int s = 0; s < 4; ++s) {
            rows[s].series = s;
            rows[s].name = QLatin1String(names[s]);
        }
        dock.setRows(rows);
        dock.show();
        QSignalSpy hidden(&dock, &SeriesListDock::hiddenSeriesChanged);
        QSignalSpy selected(&dock, &SeriesListDock::seriesSelected);
        QTest::keyClicks(dock.filterField(), QStringLiteral("EVENT"));
        QAbstractItemModel* shown = dock.view()->model();
        QCOMPARE(shown->rowCount(), 2);
        QVERIFY(shown->setData(shown->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(hidden.last().first().value<QVector<int>>(), QVector<int>({2}));
        dock.showSelected(0); // from a click in the graph: not announced
        QVERIFY(selected.isEmpty());
        dock.view()->selectionModel()->select(shown->index(1, 0), QItemSelectionModel::ClearAndSelect |
                                                                      QItemSelectionModel::Rows);
        QCOMPARE(selected.last().first().toInt(), 2);
        dock.findChild<QPushButton*>()->click();
        QCOMPARE(hidden.last().first().value<QVector<int>>(), QVector<int>());
        QCOMPARE(dock.model()->data(dock.model()->index(2, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    }

    void fillWindowFollowsTheView() {
        QCOMPARE(FillWindow::widthFor(1000.0, QSize(1600, 800)), 2000);
        QCOMPARE(FillWindow::widthFor(1000.0, QSize(0, 800)), 0);
        Window w;
        QVERIFY(w.ready);
        StackedGraphWidget* graph = w.central.mainGraph;
        const int standard = graph->xRangeSlider->value();
        w.central.setFillWindow(true);
        QCOMPARE(graph->xRangeSlider->value(), int(w.scene(0)->xRange));
        QCOMPARE(graph->xRangeSlider->value(), fillWidth(w.scene(0)));
        // A new size of the window gives a new width.
        const int before = graph->xRangeSlider->value();
        w.central.resize(1400, 600);
        QTRY_VERIFY(graph->xRangeSlider->value() > before);
        // A hand on the slider turns it off and leaves the width where the hand put it.
        QSignalSpy off(&w.central, &CentralWidget::fillWindowChanged);
        graph->xRangeSlider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(off.size(), 1);
        QVERIFY(!w.central.fill(0)->isOn());
        QVERIFY(graph->xRangeSlider->value() != standard);
        // Shown, the compare graph is widened too; turned off from the menu, it gets its standard width back.
        w.central.toggleCompareGraph(true);
        QTRY_COMPARE(w.central.compareGraph->xRangeSlider->value(), fillWidth(w.scene(1)));
        QVERIFY(w.central.compareGraph->xRangeSlider->value() != standard);
        w.central.fill(1)->setOn(false);
        QCOMPARE(w.central.compareGraph->xRangeSlider->value(), standard);
    }

    // Resizes while it is off (the first show among them) owe no refit: a zoom made after turning it on
    // outlives the next build that keeps the width.
    void fillWindowKeepsTheZoom() {
        Window w;
        QVERIFY(w.ready);
        StackedGraph* scene = w.scene(0);
        QSlider* slider = w.central.mainGraph->xRangeSlider;
        const int width = fillWidth(scene);
        slider->setRange(qMin(slider->minimum(), width), qMax(slider->maximum(), width));
        slider->setValue(width);
        QCoreApplication::processEvents();
        w.central.setFillWindow(true);
        QCOMPARE(slider->value(), width);
        // In, so that scroll bars appear and take room from the viewport: the width stays.
        scene->view->zoomOnto(scene->sceneRect().center(), 2.0);
        const QTransform zoomed = scene->view->transform();
        scene->makeStackedGraph();
        QCoreApplication::processEvents();
        QCOMPARE(scene->view->transform(), zoomed);
    }
};

QTEST_MAIN(GraphInquiryTest)
#include "tst_graphinquiry.moc"
