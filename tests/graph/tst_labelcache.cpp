#include "graph/LabelCache.h"

#include <QPainterPath>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// Largest distance between corresponding elements; infinite when the paths differ in shape.
double distance(const QPainterPath& a, const QPainterPath& b) {
    if (a.elementCount() != b.elementCount())
        return qInf();
    double largest = 0.0;
    for (int i = 0; i < a.elementCount(); ++i) {
        if (a.elementAt(i).type != b.elementAt(i).type)
            return qInf();
        largest = std::max({largest, std::abs(a.elementAt(i).x - b.elementAt(i).x),
                            std::abs(a.elementAt(i).y - b.elementAt(i).y)});
    }
    return largest;
}

LayerLabel::Placement at(double x, double y, double thickness) {
    LayerLabel::Placement placement;
    placement.x = x;
    placement.y = y;
    placement.thickness = thickness;
    return placement;
}

} // namespace

class LabelCacheTest : public QObject {
    Q_OBJECT
private slots:
    // Positions that are not whole 1/64 pixels, on both sides of zero, far out as in long graphs.
    void givesWhatWritingTheTextGives_data() {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("name");
        QTest::newRow("near the origin") << 0.3 << 0.7 << QStringLiteral("Alpha");
        QTest::newRow("far right, low") << 1234.56789 << -3.21 << QStringLiteral("Series 0042");
        QTest::newRow("left of zero") << -0.0071 << 12.5 << QStringLiteral("fi Wa ffl");
        QTest::newRow("cut name") << 77.7 << 0.01 << QStringLiteral("A much longer name");
        // Kerning, accents, another script, right to left: glyph by glyph as the whole text.
        QTest::newRow("kerned") << 5.5 << 2.0 << QStringLiteral("AVATAR T\u00e5");
        QTest::newRow("accents") << 5.5 << 2.0 << QStringLiteral("Z\u00fcrich \u00d6ko");
        QTest::newRow("ideographs") << 5.5 << 2.0 << QStringLiteral("\u6570\u636e\u7edf\u8ba1");
        QTest::newRow("right to left") << 5.5 << 2.0 << QStringLiteral("\u05e9\u05dc\u05d5\u05dd");
    }
    void givesWhatWritingTheTextGives() {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QString, name);
        LabelCache cache;
        for (int build = 0; build < 3; ++build) {
            cache.startBuild();
            for (const double xScale : {320.0, 321.0, 57.3}) {
                const LayerLabel::Placement placement = at(x, y, 4.0);
                const QPainterPath expected = LayerLabel::outlines(placement, name, xScale, 30.0);
                const QPainterPath cached = cache.outlines(placement, name, xScale, 30.0);
                QVERIFY(!expected.isEmpty());
                QVERIFY2(distance(cached, expected) <= 1e-9 * (1.0 + std::abs(x * xScale)),
                         qPrintable(QString::number(distance(cached, expected))));
            }
        }
    }

    void keepsOnlyWhatTheLastTwoBuildsUsed() {
        LabelCache cache;
        cache.startBuild();
        cache.outlines(at(1, 1, 4), QStringLiteral("One"), 300.0, 30.0);
        cache.outlines(at(2, 1, 4), QStringLiteral("One"), 300.0, 30.0);
        cache.outlines(at(1, 1, 8), QStringLiteral("One"), 300.0, 30.0);
        QCOMPARE(cache.size(), 2);
        cache.startBuild();
        cache.outlines(at(1, 1, 4), QStringLiteral("One"), 300.0, 30.0);
        QCOMPARE(cache.size(), 2);
        cache.startBuild();
        QCOMPARE(cache.size(), 1);
        cache.startBuild();
        QCOMPARE(cache.size(), 0);
    }

    void staysWithinItsLimit() {
        LabelCache cache;
        cache.startBuild();
        const QString name = QStringLiteral("Wide name");
        const int each = LayerLabel::outlines(at(0, 0, 4), name, 300.0, 30.0).elementCount();
        QVERIFY(each > 0);
        const int fitting = int(LabelCache::maxElements / each);
        for (int i = 0; i < fitting + 5; ++i)
            cache.outlines(at(0, 0, 4 + i), name, 300.0, 30.0);
        QVERIFY(cache.size() <= fitting);
        QVERIFY(cache.size() > 0);
        // Beyond the limit labels still come out right.
        const LayerLabel::Placement last = at(0.3, 0.2, 4 + fitting + 7);
        QVERIFY(distance(cache.outlines(last, name, 300.0, 30.0),
                         LayerLabel::outlines(last, name, 300.0, 30.0)) <= 1e-9);
    }

    void tooSmallOrUnplaceableLabels() {
        LabelCache cache;
        cache.startBuild();
        QVERIFY(cache.outlines(at(1, 1, 0.01), QStringLiteral("Tiny"), 1.0, 1.0).isEmpty());
        QVERIFY(cache.outlines(at(1, 1, 4), QString(), 300.0, 30.0).isEmpty());
        // Beyond Qt's fixed-point range the text goes wherever Qt itself puts it.
        const LayerLabel::Placement far = at(1e9, 1, 4);
        QCOMPARE(distance(cache.outlines(far, QStringLiteral("Far"), 300.0, 30.0),
                          LayerLabel::outlines(far, QStringLiteral("Far"), 300.0, 30.0)),
                 0.0);
        QCOMPARE(cache.size(), 0);
    }
};

QTEST_MAIN(LabelCacheTest)
#include "tst_labelcache.moc"
