#include "support/GraphFixtures.h"

#include "data/MonthRange.h"
#include "data/SeriesPlacement.h"

#include <QTest>

using GraphFixtures::series;

class MonthRangeTest : public QObject {
    Q_OBJECT
private slots:
    void emptyDataGivesMonthZeroToOne() {
        const MonthRange range = MonthRange::ofSeries({});
        QCOMPARE(range.firstYear, 0);
        QCOMPARE(range.firstMonth, 0);
        QCOMPARE(range.lastYear, 0);
        QCOMPARE(range.lastMonth, 1);
        QCOMPARE(range.span(), qint64(1));

        const MonthRange noPoints = MonthRange::ofSeries({DataSeries{}, series({}, 2008, 1, {1, 2})});
        QCOMPARE(noPoints.span(), qint64(1));
        QCOMPARE(noPoints.firstMonth, 0);
    }
    void startsAtFirstSeriesAndEndsAtLatestPoint() {
        // The latest end may come from any series, also across a year end.
        const QVector<DataSeries> data = {series({}, 2003, 11, {1, 2}), series({}, 2003, 12, {1, 2, 3, 4, 5}),
                                          series({}, 2004, 1, {1})};
        const MonthRange range = MonthRange::ofSeries(data);
        QCOMPARE(range.firstYear, 2003);
        QCOMPARE(range.firstMonth, 11);
        QCOMPARE(range.lastYear, 2004);
        QCOMPARE(range.lastMonth, 4);
        QCOMPARE(range.span(), qint64(5));
        QCOMPARE(range.index(2004, 2), qint64(3));
    }
    void farApartYearsDoNotOverflow() {
        const QVector<DataSeries> data = {series({}, -2000000000, 1, {1}), series({}, 2000000000, 12, {1})};
        const MonthRange range = MonthRange::ofSeries(data);
        QCOMPARE(range.span(), qint64(4000000000LL) * 12 + 11);
        QVERIFY(!range.drawable());
        QCOMPARE(range.divisorSpan(), range.span());
    }
    void singleMonthDividesByOne() {
        const MonthRange range = MonthRange::ofSeries({series({}, 2008, 5, {3})});
        QCOMPARE(range.span(), qint64(0));
        QVERIFY(range.drawable());
        QCOMPARE(range.divisorSpan(), qint64(1));
    }
    void placementLooksUpByIndex() {
        const QVector<DataSeries> data = {series({}, 2008, 1, {1, 2}), series({}, 2008, 3, {5, 6, 7})};
        const QVector<SeriesPlacement> p = GraphFixtures::place(data);
        QCOMPARE(p[1].first, 2);
        QCOMPARE(p[1].last(), 4);
        QVERIFY(!p[1].covers(1));
        QCOMPARE(p[1].valueAt(3), 6.0);
        QCOMPARE(p[1].valueAt(5), 0.0);
        QVERIFY(!p[1].covers(5));
    }
    void placementDropsPointsOutsideTheRange() {
        // Unsorted input: the second series starts before the range and ends after it.
        QVector<DataSeries> data = {series({}, 2008, 3, {1, 2, 3}),
                                    series({}, 2008, 1, {10, 20, 30, 40, 50, 60})};
        MonthRange range;
        range.firstYear = 2008;
        range.firstMonth = 3;
        range.lastYear = 2008;
        range.lastMonth = 5;
        const QVector<SeriesPlacement> p = SeriesPlacement::of(data, range);
        QCOMPARE(p[1].first, 0);
        QCOMPARE(p[1].count, 3);
        QCOMPARE(p[1].valueAt(0), 30.0);
        QCOMPARE(p[1].valueAt(2), 50.0);
    }
};

QTEST_GUILESS_MAIN(MonthRangeTest)
#include "tst_monthrange.moc"
