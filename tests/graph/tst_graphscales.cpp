#include "support/GraphFixtures.h"

#include "graph/GraphScales.h"

#include <QTest>

using GraphFixtures::at;

class GraphScalesTest : public QObject {
    Q_OBJECT
private slots:
    void xScaleSpreadsAllMonthsOverTheWidth() {
        MonthRange range;
        range.firstYear = range.lastYear = 2000;
        range.firstMonth = 1;
        range.lastMonth = 11;
        QCOMPARE(GraphScales::xScale(3200.0, range), 320.0);
        QCOMPARE(GraphScales::xScale(320.0, MonthRange()), 320.0);
        range.lastMonth = 1;
        QCOMPARE(GraphScales::xScale(320.0, range), 320.0);
    }
    void totalsAddEveryLayer() {
        const QVector<DataSeries> data = {at(0, {2, 2, 2}), at(1, {4, 4})};
        QCOMPARE(GraphScales::totals(GraphFixtures::place(data), 2), QVector<double>({2, 6, 6}));
    }
    void smallMonthsAreLeftOutOfTheMean() {
        // 99 months of 10 and one of 0.05: the threshold is 0.1, the mean 10, so 1000 / 10.
        QVector<double> totals(100, 10.0);
        totals[42] = 0.05;
        QCOMPARE(GraphScales::typicalTotal(totals), 10.0);
        QCOMPARE(GraphScales::yScale(GraphScales::typicalTotal(totals)), 100.0);
        // At the threshold itself the month is left out as well.
        QCOMPARE(GraphScales::typicalTotal({10.0, 0.1, 20.0}), 15.0);
    }
    void noPositiveTotalFallsBackToOne() {
        QCOMPARE(GraphScales::typicalTotal({0.0, 0.0}), 0.0);
        QCOMPARE(GraphScales::typicalTotal({}), 0.0);
        QCOMPARE(GraphScales::yScale(0.0), 1.0);
    }
};

QTEST_GUILESS_MAIN(GraphScalesTest)
#include "tst_graphscales.moc"
