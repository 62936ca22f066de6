#include "axis/ThicknessScale.h"

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
};

QTEST_GUILESS_MAIN(ThicknessScaleTest)
#include "tst_thicknessscale.moc"
