#include "support/GraphFixtures.h"

#include "graph/GraphLayout.h"
#include "graph/LayoutMetrics.h"

#include <QTest>

using GraphFixtures::at;

namespace {

// A: 2, 2, 2 from month 0; B: 4, 4 from month 1; onset order A, B.
DataSet example() {
    DataSet data;
    data.series = {at(0, {2, 2, 2}, QStringLiteral("A")), at(1, {4, 4}, QStringLiteral("B"))};
    return data;
}

GraphSettings settingsWith(int baseline, int sort = 0, int coloring = 0) {
    GraphSettings settings;
    settings.baseline = baseline;
    settings.sort = sort;
    settings.coloring = coloring;
    settings.width = 3200;
    return settings;
}

} // namespace

class GraphLayoutTest : public QObject {
    Q_OBJECT
private slots:
    // The worked example, laid out without a scene.
    void workedExample_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<QVector<double>>("bottomsOfA");
        QTest::addColumn<QVector<double>>("topsOfB");
        QTest::addColumn<double>("maxTop");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("wiggle");
        QTest::addColumn<double>("weightedWiggle");
        QTest::newRow("x-axis") << 0 << QVector<double>{0, 0, 0} << QVector<double>{6, 6} << 6.0 << 0.0 << 0.0
                                << 0.0;
        // A falls by 2 between months 0 and 1: (2^2 + 2^2) over 3 pairs; its centre moves 2 with
        // thickness 2, over a weight of 2 + 2 + 4.
        QTest::newRow("symmetric") << 1 << QVector<double>{-1, -3, -3} << QVector<double>{3, 3} << 3.0 << -3.0
                                   << (4.0 + 4.0) / 3 << 2.0 * (2 * 2) / (2 + 2 + 4);
        QTest::newRow("baseline") << 2 << QVector<double>{-1, -1, -1} << QVector<double>{5, 5} << 5.0 << -1.0
                                  << 0.0 << 0.0;
    }
    void workedExample() {
        QFETCH(int, baseline);
        QFETCH(QVector<double>, bottomsOfA);
        QFETCH(QVector<double>, topsOfB);
        QFETCH(double, maxTop);
        QFETCH(double, lowest);
        QFETCH(double, wiggle);
        QFETCH(double, weightedWiggle);
        const GraphLayout layout = layOut(example(), settingsWith(baseline));
        QVERIFY(layout.hasSeries && layout.drawable);
        QCOMPARE(layout.order, QVector<int>({0, 1}));
        QCOMPARE(layout.layers[0].band.bottoms, bottomsOfA);
        QCOMPARE(layout.layers[1].band.tops, topsOfB);
        QCOMPARE(layout.layers[1].band.first, 1);
        QCOMPARE(layout.maxTop, maxTop);
        QCOMPARE(layout.lowestBaseline, lowest);
        const double yScale = 1.0 / ((2.0 / 3 + 6.0 / 3 + 6.0 / 3) / 1000.0);
        QCOMPARE(layout.xScale, 3200.0 / 2);
        QCOMPARE(layout.yScale, yScale);
        QCOMPARE(layout.graphHeight, (maxTop - lowest) * yScale);
        QCOMPARE(layout.sceneRect,
                 QRectF(0, -1.01 * maxTop * yScale, 3200, 1.01 * (maxTop - lowest) * yScale));
        const LayoutMetrics metrics = LayoutMetrics::of(layout);
        QCOMPARE(metrics.wiggle, wiggle);
        QCOMPARE(metrics.weightedWiggle, weightedWiggle);
    }

    void coloursAndLegend() {
        // "first onset": A at 0, B at the maximum.
        GraphLayout layout = layOut(example(), settingsWith(0, 0, 0));
        QCOMPARE(layout.keys.min, 0.0);
        QCOMPARE(layout.keys.max, 1.0);
        QCOMPARE(layout.layers[0].colorPosition, 0.0);
        QCOMPARE(layout.layers[1].colorPosition, 1.0);
        // An unknown colouring keeps the range the build before had, and gives every layer key 0.
        layout =
            layOut(example(), settingsWith(0, 0, 9), GraphLayout::Carry{MonthRange(), {-4.0, 4.0}, {}, {}});
        QCOMPARE(layout.keys.min, -4.0);
        QCOMPARE(layout.keys.max, 4.0);
        QCOMPARE(layout.layers[1].colorPosition, 0.5);
        // "last offset" counts from the months of the last computeXRange: the empty range spans one
        // month, and every series ends far after it.
        layout = layOut(example(), settingsWith(0, 0, 1), GraphLayout::Carry{MonthRange(), {}, {}, {}});
        QCOMPARE(layout.keyMonths.firstMonth, 0);
        QCOMPARE(layout.keys.max, 1.0);
        QCOMPARE(layout.keys.min, 1.0);
        QCOMPARE(layOut(example(), settingsWith(0, 0, 1)).keys.max, 2.0);
    }

    // A known order is taken as it is (B below A here, against onset time); one that does not fit the
    // series is ignored.
    void carriedOrder_data() {
        QTest::addColumn<QVector<int>>("carried");
        QTest::addColumn<QVector<int>>("order");
        QTest::newRow("taken") << QVector<int>{1, 0} << QVector<int>{1, 0};
        QTest::newRow("too short") << QVector<int>{1} << QVector<int>{0, 1};
    }
    void carriedOrder() {
        QFETCH(QVector<int>, carried);
        QFETCH(QVector<int>, order);
        const DataSet data = example();
        const GraphLayout layout = layOut(
            data, settingsWith(0), GraphLayout::Carry{MonthRange::ofSeries(data.series), {}, carried, {}});
        QCOMPARE(layout.order, order);
        QCOMPARE(layout.layers[0].seriesIndex, order[0]);
    }

    void nothingToDraw() {
        const GraphLayout empty = layOut(DataSet(), GraphSettings());
        QVERIFY(!empty.hasSeries);
        QVERIFY(empty.layers.isEmpty());
        DataSet far;
        far.series = {GraphFixtures::series({}, -2000000000, 1, {1, 2}),
                      GraphFixtures::series({}, 2000000000, 1, {1, 2})};
        const GraphLayout tooLong = layOut(far, GraphSettings());
        QVERIFY(tooLong.hasSeries && !tooLong.drawable);
        QVERIFY(tooLong.order.isEmpty());
        DataSet huge;
        huge.series = {at(0, {1e308, 1e308}), at(0, {1e308, 1e308})};
        const GraphLayout overflowing = layOut(huge, GraphSettings());
        QVERIFY(!overflowing.drawable);
        QCOMPARE(overflowing.order.size(), 2);
    }

    // The tables every user of the settings reads: names by code, and what unknown codes mean.
    void settingsTables() {
        QCOMPARE(GraphSettings::baselineNames().at(GraphSettings::defaultBaseline),
                 QStringLiteral("baseline"));
        QCOMPARE(GraphSettings::sortNames().at(GraphSettings::defaultSort), QStringLiteral("weighted"));
        QCOMPARE(GraphSettings::coloringNames().at(GraphSettings::defaultColoring),
                 QStringLiteral("sum quant"));
        QCOMPARE(GraphSettings::coloringKind(5), ColorKeys::Kind::None);
        QCOMPARE(GraphSettings::codeOf(GraphSettings::coloringNames(), QStringLiteral("avrg quant")), 3);
        QCOMPARE(GraphSettings().maxColor, QColor(48, 48, 48));
        QCOMPARE(GraphSettings::defaultWidth(121), 320.0 * 121);
    }
};

QTEST_GUILESS_MAIN(GraphLayoutTest)
#include "tst_graphlayout.moc"
