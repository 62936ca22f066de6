#include "support/GraphFixtures.h"

#include "data/DataSet.h"
#include "graph/LayerToolTip.h"
#include "graph/StackedGraph.h"
#include "graph/ValueFormatter.h"
#include "support/BuildCounter.h"

#include <QGraphicsPathItem>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWidget>

#include <memory>

using GraphFixtures::at;
using GraphFixtures::series;

namespace {
// A data set with a graph over it, as a control panel holds them.
struct Fixture {
    explicit Fixture(const QVector<DataSeries>& data = {}) {
        set.series = data;
        set.magnitudeSuffixes = {QString(), QStringLiteral("k")};
        graph = std::make_unique<StackedGraph>(&set.series, &set.unitText, &set.unitAfterValue,
                                               &set.magnitudeSuffixes, &parent);
        graph->computeXRange();
    }
    QVector<QGraphicsPathItem*> items() const {
        QVector<QGraphicsPathItem*> result;
        for (const Layer& layer : graph->stackingOrder())
            result.append(layer.item);
        return result;
    }
    QVector<QPainterPath> paths() const {
        QVector<QPainterPath> result;
        for (const Layer& layer : graph->stackingOrder())
            result.append(layer.item->path());
        return result;
    }
    DataSet set;
    QWidget parent;
    std::unique_ptr<StackedGraph> graph;
};

// A: 2, 2, 2 from month 0; B: 4, 4 from month 1.
const QVector<DataSeries> example = {at(0, {2, 2, 2}, QStringLiteral("A")),
                                     at(1, {4, 4}, QStringLiteral("B"))};
} // namespace

class StackedGraphTest : public QObject {
    Q_OBJECT
private slots:
    void emptyDataClearsAndKeepsTheRectangle() {
        Fixture f(example);
        f.graph->makeStackedGraph();
        const QRectF built = f.graph->sceneRect();
        QCOMPARE(f.graph->items().size(), 2);

        f.set.series.clear();
        f.graph->computeXRange();
        QSignalSpy maxTexts(f.graph.get(), &StackedGraph::maxColorTextChanged);
        QSignalSpy minTexts(f.graph.get(), &StackedGraph::minColorTextChanged);
        f.graph->makeStackedGraph();
        QVERIFY(f.graph->items().isEmpty());
        QCOMPARE(f.graph->sceneRect(), built);
        QCOMPARE(f.graph->monthSpan(), 1);
        QCOMPARE(f.graph->horizontalScale(), f.graph->xRange);
        QCOMPARE(f.graph->verticalScale(), 1.0);
        QCOMPARE(f.graph->graphHeight, 4.0);
        QCOMPARE(f.graph->stackTop(), 2.0);
        // Both legend texts still come, showing the start of the empty range.
        QCOMPARE(maxTexts.size(), 1);
        QCOMPARE(minTexts.size(), 1);
        QCOMPARE(maxTexts.first().first().toString(), QStringLiteral("0.0"));
        QCOMPARE(minTexts.first().first().toString(), QStringLiteral("0.0"));
    }
    void sceneRectangleSpansTheStack_data() {
        QTest::addColumn<int>("algo");
        QTest::addColumn<double>("maxTop");
        QTest::addColumn<double>("lowest");
        QTest::newRow("x-axis") << 0 << 6.0 << 0.0;
        QTest::newRow("symmetric") << 1 << 3.0 << -3.0;
        QTest::newRow("baseline") << 2 << 5.0 << -1.0;
    }
    void sceneRectangleSpansTheStack() {
        QFETCH(int, algo);
        QFETCH(double, maxTop);
        QFETCH(double, lowest);
        Fixture f(example);
        f.graph->setBaselineAlgo(algo);
        f.graph->setXRange(3200);
        f.graph->makeStackedGraph();
        // Totals 2, 6, 6: the mean becomes 1000 scene units.
        const double yScale = 1.0 / ((2.0 / 3 + 6.0 / 3 + 6.0 / 3) / 1000.0);
        QCOMPARE(f.graph->horizontalScale(), 3200.0 / 2);
        QCOMPARE(f.graph->verticalScale(), yScale);
        QCOMPARE(f.graph->stackTop(), maxTop);
        QCOMPARE(f.graph->graphHeight, (maxTop - lowest) * yScale);
        QCOMPARE(f.graph->sceneRect(),
                 QRectF(0, -1.01 * maxTop * yScale, 3200, 1.01 * (maxTop - lowest) * yScale));
        QCOMPARE(f.graph->stackingOrder().size(), 2);
        QCOMPARE(f.graph->layout().layers[0].band.bottoms.first(), lowest == -3.0 ? -1.0 : lowest);
    }
    void settersRebuildOnlyOnChange() {
        Fixture f(example);
        f.graph->makeStackedGraph();
        BuildCounter builds(f.graph.get());
        f.graph->setXRange(320);
        f.graph->setBaselineAlgo(0);
        f.graph->setSortAlgo(0);
        f.graph->setColorAlgo(0);
        QCOMPARE(builds.size(), 0);
        f.graph->setXRange(640);
        f.graph->setBaselineAlgo(1);
        f.graph->setSortAlgo(2);
        f.graph->setColorAlgo(4);
        QCOMPARE(builds.size(), 4);
        // The colour setters always rebuild, even with the colour they already have.
        f.graph->setMaxColor(f.graph->colorScale().maxColor);
        f.graph->setMinColor(f.graph->colorScale().minColor);
        QCOMPARE(builds.size(), 6);
        QCOMPARE(f.graph->xRange, 640.0);
        QCOMPARE(f.graph->baselineAlgorithm(), 1);
        QCOMPARE(f.graph->sortAlgorithm(), 2);
        QCOMPARE(f.graph->colorAlgorithm(), 4);
    }
    void detailedInformationChangesOnlyTheTexts() {
        QVector<DataSeries> data = example;
        data[1].points[0].value = 4000;
        Fixture f(data);
        f.graph->setColorAlgo(4);
        const QVector<QGraphicsPathItem*> items = f.items();
        QSignalSpy maxTexts(f.graph.get(), &StackedGraph::maxColorTextChanged);
        QSignalSpy minTexts(f.graph.get(), &StackedGraph::minColorTextChanged);
        f.graph->setDetailedInformation(true);
        QVERIFY(f.graph->detailedInfo);
        QCOMPARE(f.items(), items);
        QCOMPARE(f.graph->items().size(), 2);
        QCOMPARE(maxTexts.size(), 1);
        QCOMPARE(maxTexts.first().first().toString(), QStringLiteral("4004"));
        QCOMPARE(minTexts.first().first().toString(), QStringLiteral("6"));
        f.graph->setDetailedInformation(false);
        QCOMPARE(maxTexts.last().first().toString(), QStringLiteral("4k"));
        // Text colours: white on the default black minimum, black on light grey.
        QCOMPARE(maxTexts.last().at(1).value<QColor>(), QColor::fromHsv(0, 0, 0, 255));
        QCOMPARE(minTexts.last().at(1).value<QColor>(), QColor::fromHsv(0, 0, 255, 255));
    }
    void gateStoresWithoutBuilding() {
        Fixture f(example);
        f.graph->makeStackedGraph();
        const QVector<QGraphicsPathItem*> items = f.items();
        f.graph->rebuildEnabled = false;
        BuildCounter builds(f.graph.get());
        f.graph->setBaselineAlgo(2);
        f.graph->setXRange(1000);
        f.graph->setMaxColor(Qt::red);
        f.graph->makeStackedGraph();
        QCOMPARE(builds.size(), 0);
        QCOMPARE(f.items(), items);
        QCOMPARE(f.graph->items().size(), 2);
        f.graph->rebuildEnabled = true;
        f.graph->makeStackedGraph();
        QCOMPARE(builds.size(), 1);
        QCOMPARE(f.graph->layout().layers[0].band.bottoms.first(), -1.0);
        QCOMPARE(f.graph->sceneRect().width(), 1000.0);
    }
    void rebuildsAreIdentical() {
        const QVector<DataSeries> data = {at(0, {1, 3, 8, 2}, QStringLiteral("First")),
                                          at(1, {5, 1, 0}, QStringLiteral("Second series name")),
                                          at(2, {2, 2}, QStringLiteral("Third"))};
        for (int sort = 0; sort < 3; ++sort) {
            Fixture f(data);
            f.graph->setSortAlgo(sort);
            f.graph->setBaselineAlgo(1);
            f.graph->makeStackedGraph();
            const QVector<QPainterPath> first = f.paths();
            const QRectF rect = f.graph->sceneRect();
            f.graph->makeStackedGraph();
            QCOMPARE(f.paths(), first);
            QCOMPARE(f.graph->sceneRect(), rect);
            QCOMPARE(f.graph->items().size(), 3);
        }
    }
    void itemsFollowTheStackingOrder() {
        // S0 stays, S1 goes on top, S2 to the bottom.
        const QVector<DataSeries> data = {at(0, {1, 1}), at(0, {1, 1}), at(1, {1})};
        Fixture f(data);
        f.graph->setSortAlgo(1);
        QVector<int> order;
        QVector<int> cursors;
        for (const Layer& layer : f.graph->stackingOrder()) {
            order.append(layer.seriesIndex);
            cursors.append(layer.cursor);
            QVERIFY(layer.item);
        }
        QCOMPARE(order, QVector<int>({2, 0, 1}));
        QCOMPARE(cursors, QVector<int>({1, 2, 2}));
        // The pen is a thin black outline; the bottom layer's item was added first.
        const QGraphicsPathItem* bottom = f.graph->stackingOrder().first().item;
        QCOMPARE(bottom->pen().widthF(), 0.5);
        QCOMPARE(bottom->pen().color(), QColor(Qt::black));
        QCOMPARE(bottom->pen().capStyle(), Qt::SquareCap);
        QCOMPARE(bottom->pen().joinStyle(), Qt::BevelJoin);
        QCOMPARE(f.graph->items(Qt::AscendingOrder).first(), bottom);
    }
    // An order the caller already has serves one build; the next computes its own.
    void knownOrderServesOneBuild() {
        Fixture f(example);
        f.graph->knownOrder = {1, 0};
        f.graph->makeStackedGraph();
        QCOMPARE(f.graph->stackingOrder().first().seriesIndex, 1);
        QVERIFY(f.graph->knownOrder.isEmpty());
        f.graph->makeStackedGraph();
        QCOMPARE(f.graph->stackingOrder().first().seriesIndex, 0);
    }
    // A searched order is found once per data, baseline and sorting: width, colours and labels keep it, and
    // going back to a baseline finds its order again.
    void searchedOrderIsKept() {
        Fixture f(GraphFixtures::generated(30, 40, 7));
        f.graph->rebuildEnabled = false;
        f.graph->setSortAlgo(3);
        f.graph->rebuildEnabled = true;
        f.graph->makeStackedGraph();
        QCOMPARE(f.graph->orderSearchCount(), 1);
        const QVector<int> order = f.graph->layout().order;
        f.graph->setXRange(999);
        f.graph->setMaxColor(Qt::red);
        f.graph->setColorAlgo(1);
        f.graph->setLabelMode(GraphSettings::LabelMode::Fitted);
        QCOMPARE(f.graph->orderSearchCount(), 1);
        QCOMPARE(f.graph->layout().order, order);
        f.graph->setBaselineAlgo(1);
        QCOMPARE(f.graph->orderSearchCount(), 2);
        f.graph->setBaselineAlgo(0);
        QCOMPARE(f.graph->layout().order, order);
        QCOMPARE(f.graph->orderSearchCount(), 2);
        // New values are new data.
        f.set.series[3].points[2].value += 1.0;
        f.graph->makeStackedGraph();
        QCOMPARE(f.graph->orderSearchCount(), 3);
        // Whatever the search showed meanwhile, the cursor is the application's own again.
        QVERIFY(!QGuiApplication::overrideCursor());
    }
    void firstOnsetColoursEarliestDarkest() {
        const QVector<DataSeries> data = {at(0, {1, 1, 1}), at(1, {1, 1}), at(2, {1})};
        Fixture f(data);
        f.graph->makeStackedGraph();
        const QVector<QGraphicsPathItem*> items = f.items();
        QCOMPARE(items[0]->brush().color(), f.graph->colorScale().colorAt(0.0));
        QCOMPARE(items[1]->brush().color(), f.graph->colorScale().colorAt(0.5));
        QCOMPARE(items[2]->brush().color(), f.graph->colorScale().colorAt(1.0));
        QCOMPARE(items[0]->brush().style(), Qt::SolidPattern);
        // All keys equal: everything in the minimum colour.
        f.graph->setColorAlgo(1);
        for (const QGraphicsPathItem* item : f.items())
            QCOMPARE(item->brush().color(), f.graph->colorScale().colorAt(0.0));
    }
    void labelsCanBeSwitchedOff() {
        Fixture f({at(0, {100, 300, 400}, QStringLiteral("Name"))});
        f.graph->makeStackedGraph();
        const int withLabel = f.paths().first().elementCount();
        f.graph->labelMode = GraphSettings::LabelMode::None;
        f.graph->makeStackedGraph();
        QCOMPARE(f.paths().first().elementCount(), 1 + 3 * 6);
        QVERIFY(withLabel > 1 + 3 * 6);
    }
    void singleMonthDrawsVerticalLines() {
        Fixture f({series(QStringLiteral("A"), 2008, 5, {3}), series(QStringLiteral("B"), 2008, 5, {1})});
        f.graph->makeStackedGraph();
        QCOMPARE(f.graph->monthSpan(), 0);
        QCOMPARE(f.graph->horizontalScale(), f.graph->xRange);
        QCOMPARE(f.graph->items().size(), 2);
        f.graph->labelMode = GraphSettings::LabelMode::None;
        f.graph->makeStackedGraph();
        QCOMPARE(f.paths().last().controlPointRect().width(), 0.0);
        QVERIFY(f.graph->sceneRect().height() > 0.0);
    }
    void brokenRangesDrawNothing() {
        // Years so far apart that the months cannot be laid out.
        Fixture far({series({}, -2000000000, 1, {1, 2}), series({}, 2000000000, 1, {1, 2})});
        far.graph->makeStackedGraph();
        QVERIFY(far.graph->items().isEmpty());
        QVERIFY(far.graph->stackingOrder().isEmpty());
        QCOMPARE(far.graph->monthIndex(2000000000, 1), std::numeric_limits<int>::max());
        // Totals that overflow have no finite scene position.
        Fixture huge({at(0, {1e308, 1e308}), at(0, {1e308, 1e308})});
        huge.graph->makeStackedGraph();
        QVERIFY(huge.graph->items().isEmpty());
    }
    void allZeroValuesUseScaleOne() {
        Fixture f({at(0, {0, 0}), at(1, {0})});
        f.graph->makeStackedGraph();
        QCOMPARE(f.graph->verticalScale(), 1.0);
        QCOMPARE(f.graph->stackTop(), std::numeric_limits<double>::min());
        QCOMPARE(f.graph->items().size(), 2);
    }
    void toolTipFindsTheLayer() {
        Fixture f({series(QStringLiteral("Jobs"), 2004, 1, {3000, 5000}),
                   series(QStringLiteral("Other"), 2004, 1, {1, 2})});
        f.graph->setSortAlgo(1);
        f.graph->makeStackedGraph();
        const QString expected = QStringLiteral("Jobs\n\n2004.1:\t3k\n2004.2:\t5k\n\nTotal:\t8k");
        QGraphicsPathItem* jobs = f.graph->stackingOrder().first().item;
        QCOMPARE(f.graph->stackingOrder().first().seriesIndex, 0);
        QCOMPARE(f.graph->toolTipText(jobs), expected);
        QVERIFY(f.graph->toolTipText(nullptr).isEmpty());
        QGraphicsRectItem* stranger = f.graph->addRect(QRectF(0, 0, 1, 1));
        QVERIFY(f.graph->toolTipText(stranger).isEmpty());
        f.graph->detailedInfo = true;
        QCOMPARE(f.graph->toolTipText(jobs),
                 QStringLiteral("Jobs\n\n2004.1:\t3000\n2004.2:\t5000\n\nTotal:\t8000"));
        f.graph->detailedInfo = false;
        f.graph->makeToolTip(jobs, QPoint(10, 10));
        QCOMPARE(QToolTip::text(), expected);
    }
    void formatterUsesTheDataSet() {
        Fixture f;
        f.set.unitText = QStringLiteral("EUR");
        f.set.unitAfterValue = false;
        f.set.magnitudeSuffixes = {QString(), QStringLiteral("k"), QStringLiteral("M")};
        QCOMPARE(f.graph->formatValue(1234567, -1), QStringLiteral("EUR1M"));
        QCOMPARE(f.graph->commonMagnitude({{2000, 1, 500}, {2000, 2, 2e6}, {2000, 3, 3e6}}), 1);
        f.graph->detailedInfo = true;
        QCOMPARE(f.graph->formatValue(1234567, 2), QStringLiteral("EUR1234567"));
    }
};

QTEST_MAIN(StackedGraphTest)
#include "tst_stackedgraph.moc"
