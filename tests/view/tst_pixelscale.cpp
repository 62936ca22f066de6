#include "view/PixelScale.h"

#include <QTest>

#include <cmath>

class PixelScaleTest : public QObject {
    Q_OBJECT
private slots:
    // An 800 × 400 viewport and a graph of 10 months: d × (X / (320 × N)) / (A × 400).
    void fittedGraph_data() {
        QTest::addColumn<QRectF>("sceneRect");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("span");
        QTest::addColumn<double>("expected");
        QTest::newRow("square, height-bound")
            << QRectF(0, 0, 1000, 1000) << 3200.0 << 10 << std::hypot(400.0, 400.0) / 400.0;
        QTest::newRow("twice the default width, truncated")
            << QRectF(0, 0, 1000, 1000) << 6400.9 << 10 << std::hypot(400.0, 400.0) * 2.0 / 400.0;
        QTest::newRow("wide, width-bound")
            << QRectF(0, -500, 4000, 1000) << 3200.0 << 10 << std::hypot(800.0, 200.0) / (4.0 * 400.0);
        QTest::newRow("no months") << QRectF(0, 0, 1000, 1000) << 3200.0 << 0 << double(NAN);
        QTest::newRow("flat rectangle") << QRectF(0, 0, 1000, 0) << 3200.0 << 10 << double(NAN);
    }
    void fittedGraph() {
        QFETCH(QRectF, sceneRect);
        QFETCH(double, width);
        QFETCH(int, span);
        QFETCH(double, expected);
        const double scale = PixelScale::fitted(QSizeF(800, 400), sceneRect, width, span);
        if (std::isnan(expected))
            QVERIFY(std::isnan(scale));
        else
            QCOMPARE(scale, expected);
        QVERIFY(std::isnan(PixelScale::fitted(QSizeF(0, 400), sceneRect, width, span)));
    }
};

QTEST_GUILESS_MAIN(PixelScaleTest)
#include "tst_pixelscale.moc"
