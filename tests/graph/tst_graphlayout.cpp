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

    // A hidden series is left out and the rest restack as if the data lacked it, each in its own colour.
    void hiddenSeriesRestack_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<int>("sort");
        for (int baseline = 0; baseline < 3; ++baseline)
            for (int sort = 0; sort < 3; ++sort)
                QTest::newRow(qPrintable(QStringLiteral("baseline %1, sort %2").arg(baseline).arg(sort)))
                    << baseline << sort;
    }
    void hiddenSeriesRestack() {
        QFETCH(int, baseline);
        QFETCH(int, sort);
        DataSet data;
        // A first series over every month keeps the month range whatever is hidden.
        data.series = GraphFixtures::generated(12, 40, 5);
        std::stable_sort(data.series.begin(), data.series.end(),
                         [](const DataSeries& a, const DataSeries& b) {
                             return MonthRange::count(a.points.first()) < MonthRange::count(b.points.first());
                         });
        DataSeries frame;
        for (int t = 0; t < 40; ++t)
            frame.points.append({2000 + t / 12, 1 + t % 12, 1.0});
        data.series.prepend(frame);
        const int hidden = 5;
        GraphSettings settings = settingsWith(baseline, sort, 4);
        const GraphLayout whole = layOut(data, settings);
        settings.hidden = {hidden};
        const GraphLayout without = layOut(data, settings);
        DataSet smaller = data;
        smaller.series.remove(hidden);
        GraphSettings plain = settingsWith(baseline, sort, 4);
        const GraphLayout expected = layOut(smaller, plain);
        QCOMPARE(without.layers.size(), expected.layers.size());
        QCOMPARE(without.sceneRect, expected.sceneRect);
        for (int i = 0; i < expected.layers.size(); ++i) {
            const int s = expected.order[i];
            QCOMPARE(without.order[i], s < hidden ? s : s + 1);
            QCOMPARE(without.layers[i].band.bottoms, expected.layers[i].band.bottoms);
        }
        // Colours stay with their series while others come and go.
        QCOMPARE(without.layers[0].colorPosition,
                 whole.layers[whole.order.indexOf(without.order[0])].colorPosition);
    }

    void hidingEverythingOrNothing() {
        GraphSettings settings = settingsWith(1);
        settings.hidden = {0, 1, 7, -3};
        const GraphLayout none = layOut(example(), settings);
        QVERIFY(none.drawable && none.layers.isEmpty() && none.order.isEmpty());
        QCOMPARE(settings.shownSeries(3), QVector<int>({2}));
        QCOMPARE(GraphSettings::normalizedIndexes({4, 1, 4, 0}), QVector<int>({0, 1, 4}));
    }
};

QTEST_GUILESS_MAIN(GraphLayoutTest)
#include "tst_graphlayout.moc"
