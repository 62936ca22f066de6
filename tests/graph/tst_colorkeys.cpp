#include "support/GraphFixtures.h"

#include "graph/ColorKeys.h"
#include "graph/GraphSettings.h"
#include "graph/ValueFormatter.h"

#include <QTest>

#include <limits>

using GraphFixtures::at;
using Kind = ColorKeys::Kind;

namespace {
// Onsets 0, 1, 1; ends 2, 4, 1.
const QVector<DataSeries> data = {at(0, {2, 2, 2}), at(1, {4, 1, 2, 1}), at(1, {3000})};

MonthRange startingAt(int year, int month) {
    MonthRange range;
    range.firstYear = range.lastYear = year;
    range.firstMonth = range.lastMonth = month;
    return range;
}
} // namespace

class ColorKeysTest : public QObject {
    Q_OBJECT
private slots:
    void keysOfASeries_data() {
        QTest::addColumn<int>("algo");
        QTest::addColumn<double>("key");
        QTest::newRow("first onset") << 0 << 1.0;
        QTest::newRow("last offset") << 1 << 4.0;
        QTest::newRow("max quant") << 2 << 4.0;
        QTest::newRow("avrg quant") << 3 << (4 / 4.0 + 1 / 4.0 + 2 / 4.0 + 1 / 4.0);
        QTest::newRow("sum quant") << 4 << 8.0;
        QTest::newRow("unknown") << 9 << 0.0;
    }
    void keysOfASeries() {
        QFETCH(int, algo);
        QFETCH(double, key);
        const MonthRange range = MonthRange::ofSeries(data);
        QCOMPARE(ColorKeys::key(GraphSettings::coloringKind(algo), data[1], range), key);
        QCOMPARE(ColorKeys::key(GraphSettings::coloringKind(algo), DataSeries{}, range), 0.0);
    }
    void rangeOverAllSeries_data() {
        QTest::addColumn<int>("algo");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::newRow("first onset: 0 to the last series' onset") << 0 << 0.0 << 1.0;
        QTest::newRow("last offset: earliest end to the span") << 1 << 1.0 << 4.0;
        QTest::newRow("max quant") << 2 << 2.0 << 3000.0;
        QTest::newRow("avrg quant") << 3 << 2.0 << 3000.0;
        QTest::newRow("sum quant") << 4 << 6.0 << 3000.0;
        QTest::newRow("unknown keeps the previous range") << -1 << -5.0 << 7.0;
    }
    void rangeOverAllSeries() {
        QFETCH(int, algo);
        QFETCH(double, min);
        QFETCH(double, max);
        const ColorKeys::Range keys = ColorKeys::range(GraphSettings::coloringKind(algo), data,
                                                       MonthRange::ofSeries(data), {-5.0, 7.0});
        QCOMPARE(keys.min, min);
        QCOMPARE(keys.max, max);
    }
    void emptyDataGivesZeroRange() {
        for (Kind kind : {Kind::FirstOnset, Kind::SumQuantity, Kind::None}) {
            const ColorKeys::Range keys = ColorKeys::range(kind, {}, MonthRange(), {-5.0, 7.0});
            QCOMPARE(keys.min, 0.0);
            QCOMPARE(keys.max, 0.0);
        }
        const ColorKeys::Range keys =
            ColorKeys::range(Kind::MaxQuantity, {DataSeries{}, at(0, {4})}, MonthRange(), {-5.0, 7.0});
        QCOMPARE(keys.max, 0.0);
    }
    void positionNormalisesTheKey() {
        QCOMPARE(ColorKeys::position(0.0, {0.0, 4.0}), 0.0);
        QCOMPARE(ColorKeys::position(1.0, {0.0, 4.0}), 0.25);
        QCOMPARE(ColorKeys::position(4.0, {0.0, 4.0}), 1.0);
        // All keys equal: the minimum colour.
        QCOMPARE(ColorKeys::position(3.0, {3.0, 3.0}), 0.0);
        // An overflowed sum stays on the scale.
        QCOMPARE(ColorKeys::position(qInf(), {0.0, qInf()}), 0.0);
        QCOMPARE(ColorKeys::position(9.0, {0.0, 4.0}), 1.0);
    }
    void datesAdvanceMonthByMonth_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<double>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("across a year end") << 2003 << 11 << 3.0 << QStringLiteral("2004.2");
        QTest::newRow("truncated key") << 2003 << 11 << 3.9 << QStringLiteral("2004.2");
        QTest::newRow("start date") << 2004 << 7 << 0.0 << QStringLiteral("2004.7");
        QTest::newRow("negative key") << 2004 << 7 << -2.0 << QStringLiteral("2004.7");
        QTest::newRow("to December") << 2004 << 1 << 11.0 << QStringLiteral("2004.12");
        QTest::newRow("a whole year") << 2004 << 1 << 12.0 << QStringLiteral("2005.1");
        QTest::newRow("many years") << 2004 << 12 << 1200.0 << QStringLiteral("2104.12");
        QTest::newRow("empty range") << 0 << 0 << 0.0 << QStringLiteral("0.0");
        QTest::newRow("empty range, one month") << 0 << 0 << 1.0 << QStringLiteral("0.1");
        QTest::newRow("not a number") << 2004 << 7 << qQNaN() << QStringLiteral("2004.7");
    }
    void datesAdvanceMonthByMonth() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(double, key);
        QFETCH(QString, text);
        QCOMPARE(ColorKeys::dateText(startingAt(year, month), key), text);
    }
    void legendTexts() {
        const QVector<QString> suffixes = {QString(), QStringLiteral("k")};
        const QString unit = QStringLiteral("$");
        const MonthRange range = startingAt(2003, 11);
        const ValueFormatter scaled(suffixes, unit, false, false);
        QCOMPARE(ColorKeys::text(Kind::LastOffset, 3.0, range, scaled), QStringLiteral("2004.2"));
        QCOMPARE(ColorKeys::text(Kind::SumQuantity, 3000.0, range, scaled), QStringLiteral("$3k"));
        QCOMPARE(ColorKeys::text(Kind::None, 0.0, range, scaled), QStringLiteral("$0"));
        const ValueFormatter detailed(suffixes, unit, false, true);
        QCOMPARE(ColorKeys::text(Kind::MeanQuantity, 3000.0, range, detailed), QStringLiteral("$3000"));
    }
};

QTEST_GUILESS_MAIN(ColorKeysTest)
#include "tst_colorkeys.moc"
