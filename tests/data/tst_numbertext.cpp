#include "data/NumberText.h"

#include <QTest>

#include <cmath>

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void shortestRoundTrips_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("integer") << 1500.0 << QByteArray("1500");
        QTest::newRow("fraction") << 2500.5 << QByteArray("2500.5");
        QTest::newRow("one third") << 1.0 / 3.0 << QByteArray("0.3333333333333333");
        QTest::newRow("negative zero") << -0.0 << QByteArray("-0");
        QTest::newRow("large") << 1e300 << QByteArray("1e+300");
    }
    void shortestRoundTrips() {
        QFETCH(double, value);
        QFETCH(QByteArray, text);
        QCOMPARE(NumberText::shortest(value), text);
        QCOMPARE(std::strtod(text.constData(), nullptr), value);
    }
    void csvFieldQuotesOnlyWhenNeeded() {
        QCOMPARE(NumberText::csvField(QStringLiteral("Beta")), QByteArray("Beta"));
        QCOMPARE(NumberText::csvField(QStringLiteral("a,b")), QByteArray("\"a,b\""));
        QCOMPARE(NumberText::csvField(QStringLiteral("say \"hi\"")), QByteArray("\"say \"\"hi\"\"\""));
        QCOMPARE(NumberText::csvField(QStringLiteral("two\nlines")), QByteArray("\"two\nlines\""));
        QCOMPARE(NumberText::csvField(QStringLiteral(" padded\t")), QByteArray("\" padded\t\""));
        QCOMPARE(NumberText::csvField(QStringLiteral("Zürich")), QByteArray("Z\xc3\xbcrich"));
    }
};

QTEST_GUILESS_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
