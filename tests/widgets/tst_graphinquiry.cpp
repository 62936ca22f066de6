#include "graph/StackedGraph.h"
#include "support/LayerPixels.h"
#include "support/TestFiles.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/FillWindow.h"
#include "widgets/GraphProbe.h"
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

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

struct Window {
    Window() {
        central.resize(1000, 600);
        central.show();
        ready = QTest::qWaitForWindowExposed(&central) && central.loadDataFile(exampleDataFile());
        QCoreApplication::processEvents();
        // Zoomed in, as after some wheel notches: the fitted graph is a thin strip.
        scene(0)->view->scale(6.0, 6.0);
    }
    StackedGraph* scene(int graph) const {
        return (graph == 0 ? central.mainGraph : central.compareGraph)->stackedGraph;
    }
    QPoint onThickLayer(int* series) const {
        return pixelInsideALayer(scene(0), central.probe(0), series, -1, 5);
    }
    CentralWidget central{nullptr};
    bool ready = false;
};

} // namespace

class GraphInquiryTest : public QObject {
    Q_OBJECT
private slots:
    // A pointer move is answered from the last layout: nothing is built or painted for it.
    void readoutNeitherRebuildsNorRepaints() {
        Window w;
        QVERIFY(w.ready);
        QSignalSpy readouts(&w.central, &CentralWidget::readoutChanged);
        int series = -1;
        const QPoint pixel = w.onThickLayer(&series);
        QVERIFY(series >= 0);
        QWidget* viewport = w.scene(0)->view->viewport();
        QTest::mouseMove(viewport, pixel);
        QVERIFY(readouts.isEmpty()); // off at start
        w.central.setReadout(true);
        PaintCounter counter;
        viewport->installEventFilter(&counter);
        const int builds = w.scene(0)->buildCount();
        for (int dx = 1; dx <= 5; ++dx)
            QTest::mouseMove(viewport, pixel + QPoint(dx, 0));
        QCoreApplication::processEvents();
        QCOMPARE(readouts.size(), 5);
        QVERIFY2(readouts.last().first().toString().startsWith(w.central.series[series].name),
                 qPrintable(readouts.last().first().toString()));
        QCOMPARE(w.scene(0)->buildCount(), builds);
        QCOMPARE(counter.paints, 0);
        viewport->removeEventFilter(&counter);
    }

    // A click highlights the layer in both graphs, and the highlight outlives rebuilds while its series
    // is drawn; a click on the background ends it.
    void clickHighlights() {
        Window w;
        QVERIFY(w.ready);
        w.central.setReadout(true);
        int series = -1;
        const QPoint pixel = w.onThickLayer(&series);
        QVERIFY(series >= 0);
        QWidget* viewport = w.scene(0)->view->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, pixel);
        QCOMPARE(w.central.highlightedSeries(), series);
        for (int graph : {0, 1})
            for (const Layer& layer : w.scene(graph)->stackingOrder())
                QCOMPARE(layer.item->opacity(),
                         layer.seriesIndex == series ? 1.0 : StackedGraph::fadedOpacity);
        w.central.mainGraph->xRangeSlider->setValue(w.central.mainGraph->xRangeSlider->value() + 500);
        w.central.toggleCompareGraph(true);
        QCOMPARE(w.scene(0)->highlightedSeries(), series);
        QCOMPARE(w.scene(1)->highlightedSeries(), series);
        w.central.setHiddenSeries({series});
        QCOMPARE(w.central.highlightedSeries(), -1);
        w.central.setHiddenSeries({});
        // The slider's rebuild fitted the view anew.
        w.scene(0)->view->scale(6.0, 6.0);
        const QPoint again = w.onThickLayer(&series);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, again);
        QCOMPARE(w.central.highlightedSeries(), series);
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QCOMPARE(w.central.highlightedSeries(), -1);
        for (const Layer& layer : w.scene(0)->stackingOrder())
            QCOMPARE(layer.item->opacity(), 1.0);
    }

    // Hidden series leave both graphs and come back with the identical layout; a load shows them all.
    void hiddenSeriesInBothGraphs() {
        Window w;
        QVERIFY(w.ready);
        const GraphLayout before = w.scene(0)->layout();
        QSignalSpy announced(w.central.mainGraph, &StackedGraphWidget::hiddenSeriesChanged);
        const int builds = w.scene(0)->buildCount();
        w.central.setHiddenSeries({3, 1});
        QCOMPARE(w.scene(0)->buildCount(), builds + 1); // one rebuild per change
        QCOMPARE(announced.size(), 1);
        for (int graph : {0, 1}) {
            QCOMPARE(w.scene(graph)->stackingOrder().size(), w.central.series.size() - 2);
            QCOMPARE(w.scene(graph)->hiddenSeries(), QVector<int>({1, 3}));
        }
        w.central.setHiddenSeries({});
        const GraphLayout& after = w.scene(0)->layout();
        QCOMPARE(after.order, before.order);
        for (int i = 0; i < before.layers.size(); ++i) {
            QCOMPARE(after.layers[i].band.tops, before.layers[i].band.tops);
            QCOMPARE(after.layers[i].colorPosition, before.layers[i].colorPosition);
        }
        w.central.setHiddenSeries({2});
        QVERIFY(w.central.loadDataFile(exampleDataFile()));
        QVERIFY(w.scene(1)->hiddenSeries().isEmpty());
        QCOMPARE(announced.last().first().value<QVector<int>>(), QVector<int>());
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
        StackedGraphView* view = w.scene(0)->view;
        const QRectF shown = view->mapFromScene(w.scene(0)->sceneRect()).boundingRect();
        const QRect port = view->viewport()->rect();
        QVERIFY2(qAbs(shown.width() - port.width()) <= 1.0 || qAbs(shown.height() - port.height()) <= 1.0,
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        QVERIFY(shown.width() <= port.width() + 1.0 && shown.height() <= port.height() + 1.0);
        QCOMPARE(graph->xRangeSlider->value(), int(w.scene(0)->xRange));
        QVERIFY(graph->xRangeSlider->minimum() <= graph->xRangeSlider->value());
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
        // Turned off from the menu, a graph gets its standard width back.
        w.central.fill(1)->setOn(false);
        QCOMPARE(w.central.compareGraph->xRangeSlider->value(), standard);
    }
};

QTEST_MAIN(GraphInquiryTest)
#include "tst_graphinquiry.moc"
