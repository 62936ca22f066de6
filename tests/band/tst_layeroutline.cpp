#include "band/LayerOutline.h"

#include <QTest>

namespace {
QVector<QPointF> elementsOf(const QPainterPath& path) {
    QVector<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.append(QPointF(path.elementAt(i).x, path.elementAt(i).y));
    return points;
}

SeriesPlacement placed(int first, const QVector<DataPoint>& points) {
    SeriesPlacement p;
    p.first = first;
    p.count = int(points.size());
    p.points = points.constData();
    return p;
}
// The outline of a placed series lying on those bottoms.
LayerOutline bandOf(const SeriesPlacement& layer, const QVector<double>& bottoms, double xScale,
                    double yScale) {
    return LayerOutline::band(BandGeometry::of(layer, bottoms, xScale, yScale));
}

} // namespace

class LayerOutlineTest : public QObject {
    Q_OBJECT
private slots:
    void curvesLeaveAndEnterHorizontally() {
        LayerOutline outline(10.0, 100.0);
        outline.moveTo(3.0, 2.0);
        outline.curveTo(4.0, 6.0);
        QCOMPARE(outline.penX, 4.0);
        QCOMPARE(outline.penY, 6.0);
        QCOMPARE(elementsOf(outline.path),
                 QVector<QPointF>({{30, -200}, {3.5 * 10, -2 * 100}, {3.5 * 10, -6 * 100}, {40, -600}}));
        QVERIFY(outline.path.elementAt(1).type == QPainterPath::CurveToElement);
        // Same x: a vertical segment, all its points on one line.
        outline.curveTo(4.0, 1.0);
        QCOMPARE(elementsOf(outline.path).mid(4), QVector<QPointF>({{40, -600}, {40, -100}, {40, -100}}));
    }
    void workedShape() {
        // Months 3, 4, 5 with values 2, 6, 4 on a zero bottom.
        const QVector<DataPoint> points = {{2000, 4, 2}, {2000, 5, 6}, {2000, 6, 4}};
        const LayerOutline outline = bandOf(placed(3, points), {0, 0, 0}, 10.0, 100.0);
        const QVector<QPointF> expected = {
            {30, -200},                         // move to (3, 2)
            {35, -200}, {35, -600}, {40, -600}, // top to (4, 6)
            {45, -600}, {45, -400}, {50, -400}, // top to (5, 4)
            {50, -400}, {50, 0},    {50, 0},    // drop to (5, 0)
            {45, 0},    {45, 0},    {40, 0},    // bottom to (4, 0)
            {35, 0},    {35, 0},    {30, 0},    // bottom to (3, 0)
            {30, 0},    {30, -200}, {30, -200}, // rise to (3, 2)
        };
        QCOMPARE(elementsOf(outline.path), expected);
        QCOMPARE(outline.penX, 3.0);
        QCOMPARE(outline.penY, 2.0);
    }
    void bandFollowsItsBottoms() {
        const QVector<DataPoint> points = {{2000, 1, 1}, {2000, 2, 2}};
        const LayerOutline outline = bandOf(placed(0, points), {5, -1}, 1.0, 1.0);
        const QVector<QPointF> e = elementsOf(outline.path);
        QCOMPARE(e.first(), QPointF(0, -(5 + 1)));
        QCOMPARE(e[3], QPointF(1, -(-1 + 2)));
        QCOMPARE(e[6], QPointF(1, 1));
        QCOMPARE(e[9], QPointF(0, -5));
    }
    void elementCountIsExact() {
        for (const int n : {0, 1, 2, 7}) {
            const QVector<DataPoint> points(n, DataPoint{2000, 1, 2.0});
            QCOMPARE(bandOf(placed(1, points), QVector<double>(n, 0.0), 3.0, 5.0).path.elementCount(),
                     LayerOutline::elementCount(n));
        }
    }

    // A piece has the band's own segments between its points, closed by straight lines where it is cut;
    // a piece reaching an end of the band keeps the band's own segment there.
    void piecesKeepTheBandsSegments() {
        BandGeometry band;
        band.first = 3;
        band.bottoms = {0, 1, 2, 1, 0, 0};
        band.tops = {2, 6, 4, 5, 3, 0};
        band.xScale = 10.0;
        band.yScale = 100.0;
        const QVector<QPointF> whole = elementsOf(LayerOutline::band(band).path);
        QCOMPARE(elementsOf(LayerOutline::piece(band, 0, 5).path), whole);

        const QVector<QPointF> middle = elementsOf(LayerOutline::piece(band, 2, 4).path);
        QCOMPARE(middle.size(), 1 + 6 + 1 + 6 + 1);
        QCOMPARE(middle.first(), QPointF(50, -400));  // top of point 2
        QCOMPARE(middle.mid(1, 6), whole.mid(7, 6));  // top to points 3 and 4
        QCOMPARE(middle[7], QPointF(70, -0 * 100.0)); // cut: straight down at point 4
        // Bottom back to points 3 (x 60, bottom 1) and 2 (x 50, bottom 2), halfway control points.
        QCOMPARE(middle.mid(8, 6),
                 QVector<QPointF>({{65, -0.0}, {65, -100}, {60, -100}, {55, -100}, {55, -200}, {50, -200}}));
        QCOMPARE(middle.last(), middle.first()); // cut: straight up at point 2

        // Point 5 has no thickness: Qt drops the zero-height drop there, in the band and the piece.
        const QPainterPath end = LayerOutline::piece(band, 4, 5).path;
        QCOMPARE(end.elementCount(), 1 + 3 + 3 + 1);
        QCOMPARE(QPointF(end.elementAt(end.elementCount() - 1)), QPointF(70, -300));
        QVERIFY(LayerOutline::piece(band, 3, 2).path.isEmpty());
    }

    void singlePointIsAVerticalLine() {
        const QVector<DataPoint> points = {{2000, 1, 3}};
        const LayerOutline outline = bandOf(placed(2, points), {1}, 10.0, 10.0);
        const QRectF bounds = outline.path.controlPointRect();
        QCOMPARE(bounds.width(), 0.0);
        QCOMPARE(bounds.left(), 20.0);
        QCOMPARE(bounds.top(), -40.0);
        QCOMPARE(bounds.bottom(), -10.0);
        QVERIFY(bandOf(SeriesPlacement(), {}, 1.0, 1.0).path.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LayerOutlineTest)
#include "tst_layeroutline.moc"
