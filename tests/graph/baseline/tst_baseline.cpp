#include "support/GraphFixtures.h"

#include "graph/GraphSettings.h"
#include "graph/LayerStacking.h"
#include "graph/baseline/Baseline.h"

#include <QTest>

#include <cmath>

using GraphFixtures::at;

namespace {
// A: 2, 2, 2 from month 0; B: 4, 4 from month 1; stacked A then B.
const QVector<DataSeries> example = {at(0, {2, 2, 2}), at(1, {4, 4})};
} // namespace

class BaselineTest : public QObject {
    Q_OBJECT
private slots:
    void workedExample_data() {
        QTest::addColumn<int>("algo");
        QTest::addColumn<QVector<double>>("baseline");
        QTest::addColumn<QVector<double>>("bottomOfB");
        QTest::addColumn<double>("maxTop");
        QTest::addColumn<double>("lowest");
        QTest::newRow("x-axis") << 0 << QVector<double>{0, 0, 0} << QVector<double>{2, 2} << 6.0 << 0.0;
        QTest::newRow("symmetric") << 1 << QVector<double>{-1, -3, -3} << QVector<double>{-1, -1} << 3.0
                                   << -3.0;
        QTest::newRow("baseline") << 2 << QVector<double>{-1, -1, -1} << QVector<double>{1, 1} << 5.0 << -1.0;
        QTest::newRow("unknown code") << 7 << QVector<double>{0, 0, 0} << QVector<double>{2, 2} << 6.0 << 0.0;
    }
    void workedExample() {
        QFETCH(int, algo);
        QFETCH(QVector<double>, baseline);
        QFETCH(QVector<double>, bottomOfB);
        QFETCH(double, maxTop);
        QFETCH(double, lowest);
        const QVector<int> order = {0, 1};
        const QVector<SeriesPlacement> p = GraphFixtures::place(example);
        const QVector<double> base = Baseline::of(algo).compute(order, p, 2);
        QCOMPARE(base, baseline);
        QCOMPARE(Baseline::lowest(base), lowest);
        const LayerStacking stack = LayerStacking::stack(order, p, base);
        QCOMPARE(stack.bottoms[0], baseline);
        QCOMPARE(stack.bottoms[1], bottomOfB);
        QCOMPARE(LayerStacking::maxTop(stack.top), maxTop);
    }
    void symmetricIsEquallyFarFromZero() {
        const QVector<DataSeries> data = {at(0, {1, 7, 3, 0}), at(1, {2.5, 0, 4}), at(2, {9, 1})};
        const QVector<int> order = {2, 0, 1};
        const QVector<SeriesPlacement> p = GraphFixtures::place(data);
        const QVector<double> base = Baseline::symmetric(order, p, 3);
        const LayerStacking stack = LayerStacking::stack(order, p, base);
        for (int m = 0; m <= 3; ++m)
            QCOMPARE(stack.top[m], -base[m]);
    }
    void referenceHandsOverWhenItEnds() {
        // Series 0 (months 0..1) is the reference; at month 2 the first layer above it that is
        // present takes over (series 2, not the ended series 1); at month 4 none is present above
        // series 2, which stays the reference though it has ended: minus the layers below it.
        const QVector<DataSeries> data = {at(0, {2, 2}), at(0, {4}), at(1, {6, 6, 6}), at(2, {8, 8, 8})};
        const QVector<int> order = {3, 0, 1, 2};
        const QVector<SeriesPlacement> p = GraphFixtures::place(data);
        const QVector<double> base = Baseline::reference(order, p, 4);
        QCOMPARE(base, QVector<double>({-(0.5 * 2), -(0.5 * 2), -(8 + 0.5 * 6), -(8 + 0.5 * 6), -8.0}));
        // Month 2 has nothing above the ended reference, month 3 hands over to series 2.
        const QVector<DataSeries> gap = {at(0, {2, 2}), at(0, {1, 1, 1, 1}), at(3, {6})};
        const QVector<double> gapBase = Baseline::reference({1, 0, 2}, GraphFixtures::place(gap), 3);
        QCOMPARE(gapBase, QVector<double>({-(1 + 0.5 * 2), -(1 + 0.5 * 2), -1.0, -(1 + 0.5 * 6)}));
    }
    void referenceWithoutSeriesZeroStartsAtTheBottom() {
        const QVector<DataSeries> data = {at(0, {2}), at(0, {4})};
        const QVector<double> base = Baseline::reference({1}, GraphFixtures::place(data), 0);
        QCOMPARE(base, QVector<double>({-0.5 * 4}));
    }
    void bottomsAreTheTopsBelow() {
        const QVector<DataSeries> data = {at(0, {1, 2, 3}), at(1, {5, 6}), at(0, {0.5, 0, 7})};
        const QVector<int> order = {1, 2, 0};
        const QVector<SeriesPlacement> p = GraphFixtures::place(data);
        const LayerStacking stack = LayerStacking::stack(order, p, Baseline::xAxis(order, p, 2));
        QCOMPARE(stack.bottoms[0], QVector<double>({0, 0}));
        QCOMPARE(stack.bottoms[1], QVector<double>({0, 5, 6}));
        QCOMPARE(stack.bottoms[2], QVector<double>({0.5, 5, 13}));
        QCOMPARE(stack.top, QVector<double>({1.5, 7, 16}));
    }
    // Every month with a total is a full stack of shares, whatever the order; a month without one is empty.
    void percentStacksShares_data() {
        QTest::addColumn<QVector<DataSeries>>("data");
        QTest::addColumn<QVector<int>>("order");
        QTest::addColumn<QVector<double>>("top");
        QTest::newRow("staggered, zero-total month 3")
            << QVector<DataSeries>{at(0, {1, 3, 0.25, 0, 5}), at(1, {1, 1e-300, 0}), at(2, {7e12, 0, 2})}
            << QVector<int>{2, 0, 1} << QVector<double>{100, 100, 100, 0, 100};
        QTest::newRow("one series, one zero")
            << QVector<DataSeries>{at(0, {4, 0, 9})} << QVector<int>{0} << QVector<double>{100, 0, 100};
    }
    void percentStacksShares() {
        QFETCH(QVector<DataSeries>, data);
        QFETCH(QVector<int>, order);
        QFETCH(QVector<double>, top);
        const Baseline::Entry& percent = Baseline::of(3);
        QCOMPARE(percent.name, QStringLiteral("percent"));
        QVERIFY(percent.shares);
        const int span = int(top.size()) - 1;
        QVector<DataPoint> values;
        const QVector<SeriesPlacement> p = Baseline::shares(GraphFixtures::place(data), span, &values);
        const LayerStacking stack = LayerStacking::stack(order, p, percent.compute(order, p, span));
        QCOMPARE(stack.bottoms[0], QVector<double>(stack.bottoms[0].size(), 0.0));
        for (int m = 0; m <= span; ++m)
            QVERIFY2(qAbs(stack.top[m] - top[m]) <= 1e-12 * Baseline::fullHeight,
                     qPrintable(QString::number(m)));
        // Shares of the data's own values: 3 of 3 + 1 at month 1 is 75 %.
        if (data.size() == 3)
            QCOMPARE(p[0].valueAt(1), 75.0);
    }
    void extentOfAFlatStack() {
        QCOMPARE(LayerStacking::maxTop({-3.0, -1.0}), std::numeric_limits<double>::min());
        QCOMPARE(LayerStacking::graphHeight(5.0, -1.0, 2.0), 12.0);
    }
};

QTEST_GUILESS_MAIN(BaselineTest)
#include "tst_baseline.moc"
