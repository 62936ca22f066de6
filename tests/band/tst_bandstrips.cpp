#include "band/BandStrips.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

// Ten points at device columns 100, 150, ..., 550.
BandStrips::Band tenPoints() {
    BandStrips::Band band;
    band.count = 10;
    band.origin = 100.0;
    band.step = 50.0;
    return band;
}

} // namespace

class BandStripsTest : public QObject {
    Q_OBJECT
private slots:
    void pointsReachPastTheColumns_data() {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("between points") << 160.0 << 240.0 << 1 << 3; // 150 .. 250
        QTest::newRow("on points") << 150.0 << 250.0 << 1 << 3;
        QTest::newRow("before the band") << 0.0 << 120.0 << 0 << 1;
        QTest::newRow("after the band") << 540.0 << 900.0 << 8 << 9;
        QTest::newRow("wholly before") << 0.0 << 99.0 << 0 << -1;
        QTest::newRow("wholly after") << 551.0 << 700.0 << 0 << -1;
        QTest::newRow("within one month") << 301.0 << 302.0 << 4 << 5;
    }
    void pointsReachPastTheColumns() {
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(int, first);
        QFETCH(int, last);
        const BandStrips::Span span = BandStrips::pointsFor(tenPoints(), left, right);
        QCOMPARE(span.firstPoint, first);
        QCOMPARE(span.lastPoint, last);
    }

    void stripsCoverTheBandWhereVisible() {
        QVector<BandStrips::Strip> strips;
        QVERIFY(BandStrips::plan(tenPoints(), 0.0, 1000.0, 64, 2.0, &strips));
        // From the strip holding column 100 (64 .. 127) to the one holding 550 (512 .. 575).
        QCOMPARE(strips.size(), 8);
        QCOMPARE(strips.first().left, 64);
        QCOMPARE(strips.first().right, 64 + 64);
        QCOMPARE(strips.last().left, 8 * 64);
        // Columns 62 .. 130 need points 0 (100) to 1 (150); 126 .. 194 points 0 to 2.
        QCOMPARE(strips[0].points.firstPoint, 0);
        QCOMPARE(strips[0].points.lastPoint, 1);
        QCOMPARE(strips[1].points.firstPoint, 0);
        QCOMPARE(strips[1].points.lastPoint, 2);
        // 510 .. 578: from point 8 (500) to the last.
        QCOMPARE(strips.last().points.firstPoint, 8);
        QCOMPARE(strips.last().points.lastPoint, 9);
        for (const BandStrips::Strip& strip : strips)
            QVERIFY(!strip.label);

        QVERIFY(BandStrips::plan(tenPoints(), 300.0, 400.0, 64, 2.0, &strips));
        QCOMPARE(strips.size(), 3); // 256, 320, 384
        QCOMPARE(strips.first().left, 256);
        QVERIFY(BandStrips::plan(tenPoints(), 2000.0, 3000.0, 64, 2.0, &strips));
        QVERIFY(strips.isEmpty());
    }

    void labelsGetStripsOfTheirOwn() {
        BandStrips::Band band = tenPoints();
        band.hasLabel = true;
        band.labelLeft = 540.0;
        band.labelRight = 700.0;
        QVector<BandStrips::Strip> strips;
        QVERIFY(BandStrips::plan(band, 0.0, 1000.0, 64, 2.0, &strips));
        QCOMPARE(strips.last().left, 640);
        QVERIFY(strips.last().label);
        QVERIFY(strips.last().points.isEmpty());
        // 446 .. 514 ends before the label; 510 .. 578 reaches into it.
        QVERIFY(!strips[6].label);
        QVERIFY(strips[7].label);
        QVERIFY(!strips[7].points.isEmpty());
    }

    void noPlanWithoutFiniteNumbers() {
        QVector<BandStrips::Strip> strips;
        BandStrips::Band band = tenPoints();
        band.step = std::numeric_limits<double>::infinity();
        QVERIFY(!BandStrips::plan(band, 0.0, 1000.0, 64, 2.0, &strips));
        band = tenPoints();
        band.origin = std::nan("");
        QVERIFY(!BandStrips::plan(band, 0.0, 1000.0, 64, 2.0, &strips));
        band = tenPoints();
        band.step = 1e9;
        QVERIFY(!BandStrips::plan(band, 0.0, 1e12, 1, 2.0, &strips));
        band.step = -50.0;
        QVERIFY(BandStrips::pointsFor(band, 0.0, 1000.0).isEmpty());
    }
};

QTEST_GUILESS_MAIN(BandStripsTest)
#include "tst_bandstrips.moc"
