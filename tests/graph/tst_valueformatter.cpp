#include "graph/ValueFormatter.h"

#include <QTest>

namespace {
const QVector<QString> three = {QString(), QStringLiteral(" k"), QStringLiteral(" M")};
const QVector<QString> two = {QString(), QStringLiteral(" k")};
const QString unit = QStringLiteral(" EUR");
} // namespace

class ValueFormatterTest : public QObject {
    Q_OBJECT
private slots:
    void format_data() {
        QTest::addColumn<QVector<QString>>("suffixes");
        QTest::addColumn<bool>("after");
        QTest::addColumn<bool>("detailed");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("magnitude");
        QTest::addColumn<QString>("text");
        QTest::newRow("three suffixes: level 2")
            << three << true << false << 1234567.0 << -1 << QStringLiteral("1 M EUR");
        QTest::newRow("two suffixes: level 1")
            << two << true << false << 1234567.0 << -1 << QStringLiteral("1235 k EUR");
        QTest::newRow("detailed") << three << true << true << 1234567.0 << -1
                                  << QStringLiteral("1234567 EUR");
        QTest::newRow("detailed ignores a level")
            << three << true << true << 1234567.0 << 2 << QStringLiteral("1234567 EUR");
        QTest::newRow("two decimals") << three << true << false << 0.05 << -1 << QStringLiteral("0.05 EUR");
        QTest::newRow("three decimals")
            << three << true << false << 0.005 << -1 << QStringLiteral("0.005 EUR");
        QTest::newRow("one decimal") << three << true << false << 0.5 << -1 << QStringLiteral("0.5 EUR");
        QTest::newRow("rounding edge 0.95")
            << three << true << false << 0.95 << -1 << QStringLiteral("1 EUR");
        QTest::newRow("zero") << three << true << false << 0.0 << -1 << QStringLiteral("0 EUR");
        QTest::newRow("negative") << three << true << false << -3.6 << -1 << QStringLiteral("-4 EUR");
        QTest::newRow("unit first") << two << false << false << 2600.0 << -1 << QStringLiteral(" EUR3 k");
        QTest::newRow("fixed level") << three << true << false << 400.0 << 1 << QStringLiteral("0.4 k EUR");
        QTest::newRow("level beyond the suffixes")
            << two << true << false << 3e6 << 5 << QStringLiteral("3000 k EUR");
        QTest::newRow("no suffixes") << QVector<QString>() << true << false << 5e6 << -1
                                     << QStringLiteral("5000000 EUR");
        QTest::newRow("no suffixes, fixed level")
            << QVector<QString>() << true << false << 5e6 << 2 << QStringLiteral("5000000 EUR");
        QTest::newRow("infinite") << three << true << false << qInf() << -1 << QStringLiteral("inf M EUR");
    }
    void format() {
        QFETCH(QVector<QString>, suffixes);
        QFETCH(bool, after);
        QFETCH(bool, detailed);
        QFETCH(double, value);
        QFETCH(int, magnitude);
        QFETCH(QString, text);
        QCOMPARE(ValueFormatter(suffixes, unit, after, detailed).format(value, magnitude), text);
    }
    void commonMagnitudeRoundsTheMeanLevel() {
        const ValueFormatter f(three, unit, true, false);
        QCOMPARE(f.commonMagnitude({{2000, 1, 500}, {2000, 2, 2e6}, {2000, 3, 3e6}}), 1);
        QCOMPARE(f.commonMagnitude({{2000, 1, 0}, {2000, 2, 0}}), 0);
        QCOMPARE(f.commonMagnitude({}), 0);
        // Zeros do not count: 0 and 5e6 give level 2.
        QCOMPARE(f.commonMagnitude({{2000, 1, 0}, {2000, 2, 5e6}}), 2);
        // Mean 0.5 rounds up.
        QCOMPARE(f.commonMagnitude({{2000, 1, 5}, {2000, 2, 5000}}), 1);
        // Detailed output does not change the level.
        QCOMPARE(ValueFormatter(three, unit, true, true).commonMagnitude({{2000, 1, 5e6}}), 2);
        QCOMPARE(ValueFormatter({QString()}, unit, true, false).commonMagnitude({{2000, 1, 5e6}}), 0);
    }
};

QTEST_GUILESS_MAIN(ValueFormatterTest)
#include "tst_valueformatter.moc"
