#include "axis/TimeTicks.h"

#include <QTest>

#include <cmath>

namespace {

// Every character 7 pixels wide: a year label needs 4 × 7 + 8 = 36 pixels, a month 3 × 7 + 8 = 29.
double sevenPixels(const QString& text) {
    return 7.0 * text.size();
}

QStringList labels(const QVector<TimeTick>& ticks) {
    QStringList texts;
    for (const TimeTick& tick : ticks)
        if (!tick.text.isEmpty())
            texts << tick.text;
    return texts;
}

} // namespace

class TimeTicksTest : public QObject {
    Q_OBJECT
private slots:
    void labels_data() {
        QTest::addColumn<MonthRange>("months");
        QTest::addColumn<double>("pixelsPerMonth");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<QString>("expected");
        const MonthRange tenYears{2000, 1, 2009, 12};
        // 12 × 3 = 36 pixels a year: just room for every year.
        QTest::newRow("10 years at 3 px a month")
            << tenYears << 3.0 << 0.0 << 119.0
            << QStringLiteral("2000|2001|2002|2003|2004|2005|2006|2007|2008|2009");
        // 24 pixels a year: every other year (48).
        QTest::newRow("10 years at 2 px a month")
            << tenYears << 2.0 << 0.0 << 119.0 << QStringLiteral("2000|2002|2004|2006|2008");
        // 3.6 pixels a year: every 10th (36).
        QTest::newRow("a century at 0.3 px a month")
            << MonthRange{1900, 1, 1999, 12} << 0.3 << 0.0 << 1199.0
            << QStringLiteral("1900|1910|1920|1930|1940|1950|1960|1970|1980|1990");
        // 3 × 15 = 45 pixels a quarter, 15 a month.
        QTest::newRow("quarters at 15 px a month") << MonthRange{2008, 1, 2009, 12} << 15.0 << 0.0 << 23.0
                                                   << QStringLiteral("2008|Apr|Jul|Oct|2009|Apr|Jul|Oct");
        // Months from November 2008 on: the first label names the year, both years show.
        QTest::newRow("months at 200 px, over a year end")
            << MonthRange{2008, 1, 2009, 12} << 200.0 << 10.0 << 14.0
            << QStringLiteral("Nov 2008|Dec|2009|Feb|Mar");
        // 40 pixels a month: "Mar 2008" needs 8 × 7 + 8 = 64, so April's label gives way.
        QTest::newRow("inside one year") << MonthRange{2008, 3, 2008, 9} << 40.0 << 0.0 << 6.0
                                         << QStringLiteral("Mar 2008|May|Jun|Jul|Aug|Sep");
        // Nothing fits the rules; one label still says where this is.
        QTest::newRow("three months at 1 px")
            << MonthRange{2008, 3, 2008, 5} << 1.0 << 0.0 << 2.0 << QStringLiteral("Mar 2008");
        QTest::newRow("window between two months")
            << MonthRange{2008, 1, 2009, 12} << 200.0 << 3.2 << 3.8 << QString();
        QTest::newRow("no scale") << tenYears << 0.0 << 0.0 << 119.0 << QString();
    }
    void labels() {
        QFETCH(MonthRange, months);
        QFETCH(double, pixelsPerMonth);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(QString, expected);
        QCOMPARE(
            ::labels(TimeTicks::plan(months, pixelsPerMonth, from, to, sevenPixels)).join(QLatin1Char('|')),
            expected);
    }

    // At any scale: ticks inside the window, labels in order and never closer than the gap, a label
    // whenever the window holds a month, and no more ticks than the window's pixels can space out.
    void labelsNeverCrowd_data() {
        QTest::addColumn<MonthRange>("months");
        QTest::addColumn<double>("fromShare");
        QTest::addColumn<double>("toShare");
        const QVector<QPair<const char*, MonthRange>> ranges = {
            {"one month", MonthRange{2008, 5, 2008, 6}},  {"over a year end", MonthRange{2008, 11, 2009, 2}},
            {"ten years", MonthRange{2000, 1, 2009, 12}}, {"negative years", MonthRange{-120, 7, 30, 3}},
            {"long", MonthRange{1000, 1, 100999, 12}},    {"five-digit years", MonthRange{9990, 4, 10012, 1}},
        };
        for (const auto& [name, months] : ranges) {
            QTest::addRow("%s, whole", name) << months << 0.0 << 1.0;
            QTest::addRow("%s, middle", name) << months << 0.37 << 0.61;
        }
    }
    void labelsNeverCrowd() {
        QFETCH(MonthRange, months);
        QFETCH(double, fromShare);
        QFETCH(double, toShare);
        const double span = double(months.span());
        const double from = fromShare * span;
        const double to = toShare * span;
        // Up to windows of 200000 pixels, which is already far wider than a screen.
        for (double pixelsPerMonth = 1e-6; pixelsPerMonth < 3000.0 && (to - from) * pixelsPerMonth < 2e5;
             pixelsPerMonth *= 1.37) {
            const QVector<TimeTick> ticks = TimeTicks::plan(months, pixelsPerMonth, from, to, sevenPixels);
            const QString at = QStringLiteral("%1 px a month").arg(pixelsPerMonth);
            const TimeTick* previous = nullptr;
            for (const TimeTick& tick : ticks) {
                QVERIFY2(tick.month >= std::ceil(from) && tick.month <= std::floor(to), qPrintable(at));
                if (tick.text.isEmpty())
                    continue;
                if (previous)
                    QVERIFY2((tick.month - previous->month) * pixelsPerMonth >=
                                 sevenPixels(previous->text) + TimeTicks::labelGap,
                             qPrintable(at));
                previous = &tick;
            }
            QCOMPARE(previous != nullptr, std::floor(to) >= std::ceil(from));
            QVERIFY2(ticks.size() <= (to - from) * pixelsPerMonth / TimeTicks::tickSpacing + 2,
                     qPrintable(at));
        }
    }
};

QTEST_GUILESS_MAIN(TimeTicksTest)
#include "tst_timeticks.moc"
