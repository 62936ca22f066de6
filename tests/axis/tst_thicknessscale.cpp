#include "axis/ThicknessScale.h"

#include <QFont>
#include <QTest>

#include <cmath>

class ThicknessScaleTest : public QObject {
    Q_OBJECT
private slots:
    void largestRoundAmountThatFits_data() {
        QTest::addColumn<double>("pixelsPerUnit");
        QTest::addColumn<double>("maxPixels");
        QTest::addColumn<double>("expected");
        QTest::newRow("exactly 100") << 1.0 << 100.0 << 100.0;
        QTest::newRow("333 units fit") << 0.3 << 100.0 << 200.0;
        QTest::newRow("250000 units fit") << 0.0004 << 100.0 << 200000.0;
        QTest::newRow("0.14 units fit") << 70.0 << 10.0 << 0.1;
        QTest::newRow("0.07 units fit") << 1.0 / 0.07 << 1.0 << 0.05;
        QTest::newRow("no scale") << 0.0 << 100.0 << 0.0;
        QTest::newRow("not a number") << std::nan("") << 100.0 << 0.0;
    }
    void largestRoundAmountThatFits() {
        QFETCH(double, pixelsPerUnit);
        QFETCH(double, maxPixels);
        QFETCH(double, expected);
        const double amount = ThicknessScale::amount(pixelsPerUnit, maxPixels);
        QVERIFY2(std::abs(amount - expected) <= 1e-12 * expected,
                 qPrintable(QString::number(amount, 'g', 17)));
    }

    // Shares step by quarters of the whole, then as amounts do; the text says percent.
    void shareSteps_data() {
        QTest::addColumn<double>("pixelsPerPercent");
        QTest::addColumn<double>("expected");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole stack fits") << 0.5 << 100.0 << QStringLiteral("100 %");
        QTest::newRow("half") << 1.5 << 50.0 << QStringLiteral("50 %");
        QTest::newRow("quarter") << 3.0 << 25.0 << QStringLiteral("25 %");
        QTest::newRow("below a quarter") << 5.0 << 20.0 << QStringLiteral("20 %");
        QTest::newRow("deep zoom") << 400.0 << 0.2 << QStringLiteral("0.2 %");
    }
    void shareSteps() {
        QFETCH(double, pixelsPerPercent);
        QFETCH(double, expected);
        QFETCH(QString, text);
        const ThicknessScale::Bar bar = ThicknessScale::shareBar(pixelsPerPercent, 100.0, QFont());
        QVERIFY(std::abs(bar.amount - expected) <= 1e-12 * expected);
        QCOMPARE(bar.text, text);
        QCOMPARE(bar.height, expected * pixelsPerPercent);
    }
};

QTEST_MAIN(ThicknessScaleTest)
#include "tst_thicknessscale.moc"
