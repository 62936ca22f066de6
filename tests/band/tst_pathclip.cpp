#include "band/PathClip.h"

#include <QPainterPath>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

// A closed band of smooth segments between two wavy edges, as a layer's outline is.
QPainterPath band(double x0, double x1, int segments, double height, double amplitude) {
    QPainterPath path;
    const double step = (x1 - x0) / segments;
    auto top = [&](int k) { return -height - amplitude * std::sin(0.7 * k); };
    auto bottom = [&](int k) { return amplitude * std::cos(0.5 * k); };
    path.moveTo(x0, top(0));
    for (int k = 1; k <= segments; ++k) {
        const double mid = x0 + (k - 0.5) * step;
        path.cubicTo(mid, top(k - 1), mid, top(k), x0 + k * step, top(k));
    }
    path.lineTo(x1, bottom(segments));
    for (int k = segments - 1; k >= 0; --k) {
        const double mid = x0 + (k + 0.5) * step;
        path.cubicTo(mid, bottom(k + 1), mid, bottom(k), x0 + k * step, bottom(k));
    }
    path.lineTo(x0, top(0));
    return path;
}

// Inside tests from the path flattened finely, to a thousandth of a pixel of the rectangle looked at:
// finer than QPainterPath::contains looks at curves.
class Inside {
public:
    Inside(const QPainterPath& path, const QRectF& rect)
        : fine(QTransform::fromScale(1e6 / rect.width(), 1e6 / rect.width()))
        , polygons(path.toSubpathPolygons(fine))
        , rule(path.fillRule()) {}
    bool operator()(const QPointF& p) const {
        const QPointF q = fine.map(p);
        int winding = 0;
        for (const QPolygonF& polygon : polygons) {
            for (int i = 0; i < polygon.size(); ++i) {
                const QPointF a = polygon[i];
                const QPointF b = polygon[(i + 1) % polygon.size()];
                const double side = (b.x() - a.x()) * (q.y() - a.y()) - (q.x() - a.x()) * (b.y() - a.y());
                if (a.y() <= q.y() && b.y() > q.y() && side > 0)
                    ++winding;
                else if (a.y() > q.y() && b.y() <= q.y() && side < 0)
                    --winding;
            }
        }
        return rule == Qt::WindingFill ? winding != 0 : winding % 2 != 0;
    }

private:
    QTransform fine;
    QList<QPolygonF> polygons;
    Qt::FillRule rule;
};

// Sample points of the rectangle (away from its edges) inside the clipped path but not the original,
// or the other way round.
int insideMismatches(const QPainterPath& original, const QPainterPath& clipped, const QRectF& rect) {
    const Inside before(original, rect);
    const Inside after(clipped, rect);
    int mismatches = 0;
    for (int i = 1; i < 30; ++i) {
        for (int j = 1; j < 30; ++j) {
            const QPointF p(rect.left() + rect.width() * i / 30.0, rect.top() + rect.height() * j / 30.0);
            mismatches += before(p) != after(p) ? 1 : 0;
        }
    }
    return mismatches;
}

} // namespace

class PathClipTest : public QObject {
    Q_OBJECT
private slots:
    void keepsTheInsideOfAPath_data() {
        QTest::addColumn<QPainterPath>("path");
        QTest::addColumn<QRectF>("rect");
        const QPainterPath wavy = band(-5000, 5000, 40, 300, 120);
        QTest::newRow("band through the middle") << wavy << QRectF(-400, -500, 800, 800);
        QTest::newRow("edges crossing many times") << wavy << QRectF(-4000, -200, 8000, 150);
        QTest::newRow("deep inside the band")
            << band(-1e7, 1e7, 30, 1e6, 1e5) << QRectF(-50, -300000, 100, 60);
        QTest::newRow("far outside the band") << wavy << QRectF(-100, 2000, 200, 100);
        QPainterPath text = wavy;
        QFont font;
        font.setPixelSize(300);
        text.addText(-600, -100, font, QStringLiteral("Cut out"));
        QTest::newRow("glyphs cut out of the band") << text << QRectF(-500, -400, 700, 400);
        QPainterPath windingText = text;
        windingText.setFillRule(Qt::WindingFill);
        QTest::newRow("winding fill") << windingText << QRectF(-500, -400, 700, 400);
    }
    void keepsTheInsideOfAPath() {
        QFETCH(QPainterPath, path);
        QFETCH(QRectF, rect);
        const QPainterPath clipped = PathClip::toRect(path, rect);
        QCOMPARE(clipped.fillRule(), path.fillRule());
        QCOMPARE(insideMismatches(path, clipped, rect), 0);
        const QRectF reach = clipped.controlPointRect();
        QVERIFY2(rect.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(reach) || clipped.isEmpty(),
                 qPrintable(QStringLiteral("%1 %2 %3 %4")
                                .arg(reach.left())
                                .arg(reach.top())
                                .arg(reach.right())
                                .arg(reach.bottom())));
    }

    // Curves are cut, not flattened: a curve crossing the rectangle stays a curve inside it, on the
    // same points.
    void cutsCurvesExactly() {
        QPainterPath path;
        path.moveTo(0, 0);
        path.cubicTo(50, 0, 50, 100, 100, 100);
        path.lineTo(0, 100);
        path.lineTo(0, 0);
        const QPainterPath clipped = PathClip::toRect(path, QRectF(20, -10, 60, 200));
        int curves = 0;
        for (int i = 0; i < clipped.elementCount(); ++i)
            curves += clipped.elementAt(i).isCurveTo() ? 1 : 0;
        QCOMPARE(curves, 1);
        for (double t = 0.25; t < 0.76; t += 0.05) {
            const QPointF onCurve = path.pointAtPercent(0.0) * 0 +
                                    QPointF(std::pow(1 - t, 3) * 0 + 3 * std::pow(1 - t, 2) * t * 50 +
                                                3 * (1 - t) * t * t * 50 + t * t * t * 100,
                                            3 * (1 - t) * t * t * 100 + t * t * t * 100);
            if (onCurve.x() < 20.5 || onCurve.x() > 79.5)
                continue;
            // Points just left and right of the curve keep their sides.
            QVERIFY(clipped.contains(onCurve + QPointF(-0.01, 0.01)) ==
                    path.contains(onCurve + QPointF(-0.01, 0.01)));
            QVERIFY(clipped.contains(onCurve + QPointF(0.01, -0.01)) ==
                    path.contains(onCurve + QPointF(0.01, -0.01)));
        }
    }

    void pathInsideStaysAsItIs() {
        const QPainterPath path = band(0, 100, 5, 20, 3);
        const QPainterPath clipped = PathClip::toRect(path, QRectF(-10, -100, 200, 200));
        QCOMPARE(clipped.elementCount(), path.elementCount());
        for (int i = 0; i < path.elementCount(); ++i)
            QCOMPARE(QPointF(clipped.elementAt(i)), QPointF(path.elementAt(i)));
    }

    void randomPathsKeepTheirInside() {
        QRandomGenerator random(7);
        for (int round = 0; round < 200; ++round) {
            QPainterPath path;
            path.setFillRule(round % 2 ? Qt::OddEvenFill : Qt::WindingFill);
            auto point = [&]() { return QPointF(random.bounded(400.0) - 200, random.bounded(400.0) - 200); };
            path.moveTo(point());
            for (int k = 0; k < 6; ++k) {
                if (random.bounded(2))
                    path.cubicTo(point(), point(), point());
                else
                    path.lineTo(point());
            }
            const QRectF rect(random.bounded(100.0) - 100, random.bounded(100.0) - 100,
                              10 + random.bounded(150.0), 10 + random.bounded(150.0));
            const QPainterPath clipped = PathClip::toRect(path, rect);
            QVERIFY2(insideMismatches(path, clipped, rect) == 0, qPrintable(QString::number(round)));
        }
    }
};

QTEST_MAIN(PathClipTest)
#include "tst_pathclip.moc"
