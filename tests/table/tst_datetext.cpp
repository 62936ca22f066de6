#include "table/DateText.h"

#include <QTest>

namespace {

TextSpan span(const QByteArray& text) {
    return {text.constData(), text.constData() + text.size()};
}

} // namespace

Q_DECLARE_METATYPE(DateText::Form)

class DateTextTest : public QObject {
    Q_OBJECT
private slots:
    // Each form people write, read down to its month; the year and month expected, or 0 for no date.
    void readsTheMonth_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<DateText::Form>("form");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        using F = DateText::Form;
        QTest::newRow("ISO date") << QByteArray("2020-12-05") << F::Iso << 2020 << 12;
        QTest::newRow("ISO minutes and zone") << QByteArray("2020-12-05T01:00Z") << F::Iso << 2020 << 12;
        QTest::newRow("ISO seconds") << QByteArray("2020-11-02T03:10:41Z") << F::Iso << 2020 << 11;
        QTest::newRow("ISO fraction, offset")
            << QByteArray("2020-11-30T23:59:59.250+05:30") << F::Iso << 2020 << 11;
        QTest::newRow("slashes, time after a blank")
            << QByteArray("2015/01/01 01:00:00") << F::Iso << 2015 << 1;
        QTest::newRow("year and month") << QByteArray("2008-01") << F::Iso << 2008 << 1;
        QTest::newRow("year/month") << QByteArray("2008/03") << F::Iso << 2008 << 3;
        QTest::newRow("year.month") << QByteArray(" 2008.10 ") << F::Iso << 2008 << 10;
        QTest::newRow("2001M03") << QByteArray("2001M03") << F::Iso << 2001 << 3;
        QTest::newRow("YYYYMM") << QByteArray("194912") << F::Compact << 1949 << 12;
        QTest::newRow("YYYYMM month 13 is told apart") << QByteArray("194913") << F::Compact << 1949 << 13;
        QTest::newRow("YYYYMMDD") << QByteArray("20200229") << F::Compact << 2020 << 2;
        QTest::newRow("bare year") << QByteArray("1880") << F::Year << 1880 << 1;
        QTest::newRow("Jan-1992") << QByteArray("Jan-1992") << F::MonthName << 1992 << 1;
        QTest::newRow("Jan 1 2000") << QByteArray("Jan 1 2000") << F::MonthName << 2000 << 1;
        QTest::newRow("January 2000") << QByteArray("January 2000") << F::MonthName << 2000 << 1;
        QTest::newRow("1 January 2000") << QByteArray("1 January 2000") << F::MonthName << 2000 << 1;
        QTest::newRow("September 30, 2001") << QByteArray("September 30, 2001") << F::MonthName << 2001 << 9;
        QTest::newRow("Sept, any case") << QByteArray("SEPT 2001") << F::MonthName << 2001 << 9;
        QTest::newRow("1-Dec-2000") << QByteArray("1-Dec-2000") << F::MonthName << 2000 << 12;
        QTest::newRow("2000 Jan") << QByteArray("2000 Jan") << F::MonthName << 2000 << 1;
        QTest::newRow("2001-Q3") << QByteArray("2001-Q3") << F::Quarter << 2001 << 7;
        QTest::newRow("2001 Q4") << QByteArray("2001 Q4") << F::Quarter << 2001 << 10;
        QTest::newRow("Q2 2001") << QByteArray("Q2 2001") << F::Quarter << 2001 << 4;
        QTest::newRow("DD.MM.YYYY") << QByteArray("31.12.2020") << F::DayFirst << 2020 << 12;
        QTest::newRow("month 13") << QByteArray("2008-13") << F::None << 0 << 0;
        QTest::newRow("slashes with no month in either order")
            << QByteArray("31/31/2020") << F::None << 0 << 0;
        QTest::newRow("30 February") << QByteArray("2021-02-30") << F::None << 0 << 0;
        QTest::newRow("29 February of a leap year") << QByteArray("2000-02-29") << F::Iso << 2000 << 2;
        QTest::newRow("two-digit year") << QByteArray("Jan-92") << F::None << 0 << 0;
        QTest::newRow("no year") << QByteArray("March") << F::None << 0 << 0;
        QTest::newRow("five digits") << QByteArray("12345") << F::None << 0 << 0;
        QTest::newRow("a name") << QByteArray("Series 2000") << F::None << 0 << 0;
        QTest::newRow("bad time") << QByteArray("2020-01-01T25:00") << F::None << 0 << 0;
        QTest::newRow("words after") << QByteArray("2020-01-01 soon") << F::None << 0 << 0;
        QTest::newRow("two months") << QByteArray("Jan Feb 2000") << F::None << 0 << 0;
        QTest::newRow("quarter 5") << QByteArray("2001-Q5") << F::None << 0 << 0;
    }
    void readsTheMonth() {
        QFETCH(QByteArray, text);
        QFETCH(DateText::Form, form);
        QFETCH(int, year);
        QFETCH(int, month);
        const DateText::Date date = DateText::parse(span(text));
        QCOMPARE(date.form, form);
        if (form != DateText::Form::None) {
            QCOMPARE(date.year, year);
            QCOMPARE(date.month, month);
        }
    }

    // 03/04/2020 is read in the order its column shows; a number above 12 shows it.
    void numericDatesWaitForTheirOrder_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("dayFirstMonth");
        QTest::addColumn<int>("monthFirstMonth");
        const int unknown = int(DateText::Order::Unknown);
        QTest::newRow("either order") << QByteArray("03/04/2020") << unknown << 4 << 3;
        QTest::newRow("day first shown")
            << QByteArray("13/04/2020 10:00") << int(DateText::Order::DayFirst) << 4 << 0;
        QTest::newRow("month first shown")
            << QByteArray("04-13-2020") << int(DateText::Order::MonthFirst) << 0 << 4;
    }
    void numericDatesWaitForTheirOrder() {
        QFETCH(QByteArray, text);
        QFETCH(int, shown);
        QFETCH(int, dayFirstMonth);
        QFETCH(int, monthFirstMonth);
        const DateText::Date date = DateText::parse(span(text));
        QCOMPARE(date.form, DateText::Form::Numeric);
        QCOMPARE(int(DateText::orderShown(date)), shown);
        DateText::Date unresolved = date;
        QVERIFY(!DateText::resolve(unresolved, DateText::Order::Unknown));
        for (const auto& [order, month] :
             {std::pair<DateText::Order, int>(DateText::Order::DayFirst, dayFirstMonth),
              {DateText::Order::MonthFirst, monthFirstMonth}}) {
            DateText::Date resolved = date;
            QCOMPARE(DateText::resolve(resolved, order), month != 0);
            if (month != 0)
                QCOMPARE(resolved.month, month);
        }
    }
};

QTEST_GUILESS_MAIN(DateTextTest)
#include "tst_datetext.moc"
