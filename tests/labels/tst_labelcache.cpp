#include "labels/LabelCache.h"

#include <QFont>
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

LabelPlacement at(double x, double y, int pixelSize, const QString& text = QStringLiteral("One")) {
    return LabelPlacement{text, pixelSize, QPointF(x, y)};
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
        // Beyond what Qt's 1/64-pixel origin holds: written in place, not cached.
        QTest::newRow("past fixed point") << 2.0e5 << 1.0 << QStringLiteral("Far out");
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
                const LabelPlacement label = at(x * xScale, -y * 30.0, int(xScale / 20.0 + 6.0), name);
                const QPainterPath expected = LabelCache::plainOutlines(label);
                const QPainterPath cached = cache.outlines(label);
                QVERIFY(!expected.isEmpty());
                QVERIFY2(distance(cached, expected) <= 1e-9 * (1.0 + std::abs(x * xScale)),
                         qPrintable(QString::number(distance(cached, expected))));
                // Moved into place by the caller (the rebuild does it on other threads): the same path.
                QPointF origin;
                QPainterPath moved = cache.outlinesAtOrigin(label, &origin);
                moved.translate(origin);
                QCOMPARE(moved, cached);
            }
        }
    }

    // An item appends a label's outlines to its band; that must come out element for element as if the
    // text had been written into the band's path.
    void outlinesAppendLikeTextWrittenIntoThePath() {
        const LabelPlacement label = at(37.5, -260.9, 30, QStringLiteral("Gamma & 7"));
        QPainterPath written;
        written.moveTo(0, 0);
        written.cubicTo(5, 0, 5, -30, 10, -30);
        QPainterPath appended = written;
        QFont font;
        font.setPixelSize(label.pixelSize);
        written.addText(label.origin, font, label.text);
        LabelCache cache;
        cache.startBuild();
        appended.addPath(cache.outlines(label));
        QVERIFY(written.elementCount() > 10);
        QVERIFY(distance(appended, written) <= 1e-9);
    }

    void keepsOnlyWhatTheLastTwoBuildsUsed() {
        LabelCache cache;
        cache.startBuild();
        cache.outlines(at(1, 1, 20));
        cache.outlines(at(2, 1, 20));
        cache.outlines(at(1, 1, 30));
        QCOMPARE(cache.size(), 2);
        cache.startBuild();
        cache.outlines(at(1, 1, 20));
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
        const int each = LabelCache::plainOutlines(at(0, 0, 20, name)).elementCount();
        QVERIFY(each > 0);
        const int fitting = int(LabelCache::maxElements / each);
        for (int i = 0; i < fitting + 5; ++i)
            cache.outlines(at(0, 0, 20 + i, name));
        QVERIFY(cache.size() <= fitting);
        QVERIFY(cache.size() > 0);
        // Beyond the limit labels still come out right.
        const LabelPlacement last = at(90.3, -6.2, 20 + fitting + 7, name);
        QVERIFY(distance(cache.outlines(last), LabelCache::plainOutlines(last)) <= 1e-9);
    }

    void tooSmallOrUnplaceableLabels() {
        LabelCache cache;
        cache.startBuild();
        QVERIFY(cache.outlines(at(1, 1, 0, QStringLiteral("Tiny"))).isEmpty());
        QVERIFY(cache.outlines(at(1, 1, 20, QString())).isEmpty());
        // Beyond Qt's fixed-point range the text goes wherever Qt itself puts it.
        const LabelPlacement far = at(3e11, -30, 20, QStringLiteral("Far"));
        QCOMPARE(distance(cache.outlines(far), LabelCache::plainOutlines(far)), 0.0);
        QCOMPARE(cache.size(), 0);
    }
};

QTEST_MAIN(LabelCacheTest)
#include "tst_labelcache.moc"
