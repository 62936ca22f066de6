#include "graph/LayerOutline.h"

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
        const LayerOutline outline = LayerOutline::band(placed(3, points), {0, 0, 0}, 10.0, 100.0);
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
        const LayerOutline outline = LayerOutline::band(placed(0, points), {5, -1}, 1.0, 1.0);
        const QVector<QPointF> e = elementsOf(outline.path);
        QCOMPARE(e.first(), QPointF(0, -(5 + 1)));
        QCOMPARE(e[3], QPointF(1, -(-1 + 2)));
        QCOMPARE(e[6], QPointF(1, 1));
        QCOMPARE(e[9], QPointF(0, -5));
    }
    void elementCountIsExact() {
        for (const int n : {0, 1, 2, 7}) {
            const QVector<DataPoint> points(n, DataPoint{2000, 1, 2.0});
            QCOMPARE(
                LayerOutline::band(placed(1, points), QVector<double>(n, 0.0), 3.0, 5.0).path.elementCount(),
                LayerOutline::elementCount(n));
        }
    }

    void singlePointIsAVerticalLine() {
        const QVector<DataPoint> points = {{2000, 1, 3}};
        const LayerOutline outline = LayerOutline::band(placed(2, points), {1}, 10.0, 10.0);
        const QRectF bounds = outline.path.controlPointRect();
        QCOMPARE(bounds.width(), 0.0);
        QCOMPARE(bounds.left(), 20.0);
        QCOMPARE(bounds.top(), -40.0);
        QCOMPARE(bounds.bottom(), -10.0);
        QVERIFY(LayerOutline::band(SeriesPlacement(), {}, 1.0, 1.0).path.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LayerOutlineTest)
#include "tst_layeroutline.moc"
