#include "graph/BandPieces.h"
#include "graph/LayerLabel.h"
#include "graph/LayerOutline.h"

#include <QTest>

namespace {

// A band of the given values on a zero bottom, one month apart from month 0, 10 scene units a month.
struct Band {
    explicit Band(const QVector<double>& values) {
        for (double v : values)
            points.append(DataPoint{2000, 1, v});
        placement.count = int(points.size());
        placement.points = points.constData();
        path = LayerOutline::band(placement, QVector<double>(points.size(), 0.0), 10.0, 1.0).path;
    }
    QVector<DataPoint> points;
    SeriesPlacement placement;
    QPainterPath path;
};

QVector<QPointF> pointsOf(const QPainterPath& path) {
    QVector<QPointF> result;
    for (int i = 0; i < path.elementCount(); ++i)
        result.append(QPointF(path.elementAt(i).x, path.elementAt(i).y));
    return result;
}

} // namespace

class BandPiecesTest : public QObject {
    Q_OBJECT
private slots:
    void pieceKeepsTheBandsEdgesAndClosesWhereCut() {
        const Band band({1, 2, 3, 4, 5});
        const BandPieces pieces(band.path, 5);
        QVERIFY(pieces.valid());
        QCOMPARE(pieces.left(), 0.0);
        QCOMPARE(pieces.right(), 40.0);
        // From the last point at or left of 12 (month 1) to the first at or right of 28 (month 3).
        const QPainterPath piece = pieces.piece(12.0, 28.0);
        QCOMPARE(piece.elementCount(), 1 + 2 * 3 + 1 + 2 * 3 + 1);
        QCOMPARE(piece.elementAt(0).type, QPainterPath::MoveToElement);
        QCOMPARE(QPointF(piece.elementAt(0).x, piece.elementAt(0).y), QPointF(10, -2));
        QCOMPARE(QPointF(piece.elementAt(6).x, piece.elementAt(6).y), QPointF(30, -4));
        // Straight down where the band goes on, back along the bottom, straight up again.
        QCOMPARE(piece.elementAt(7).type, QPainterPath::LineToElement);
        QCOMPARE(QPointF(piece.elementAt(7).x, piece.elementAt(7).y), QPointF(30, 0));
        QCOMPARE(QPointF(piece.elementAt(13).x, piece.elementAt(13).y), QPointF(10, 0));
        QCOMPARE(piece.elementAt(14).type, QPainterPath::LineToElement);
        QCOMPARE(QPointF(piece.elementAt(14).x, piece.elementAt(14).y), QPointF(10, -2));
        // The curves are the band's own.
        QCOMPARE(QPointF(piece.elementAt(1).x, piece.elementAt(1).y),
                 QPointF(band.path.elementAt(4).x, band.path.elementAt(4).y));
        QCOMPARE(piece.fillRule(), band.path.fillRule());
    }

    void pieceOverEverythingIsTheBand() {
        const Band band({1, 4, 2});
        const BandPieces pieces(band.path, 3);
        QCOMPARE(pointsOf(pieces.piece(-5.0, 100.0)), pointsOf(band.path));
        QCOMPARE(pointsOf(pieces.piece(0.0, 20.0)), pointsOf(band.path));
        // Between two points: the one segment around it, ending in the band's own drop.
        QCOMPARE(pieces.piece(11.0, 12.0).elementCount(), 1 + 3 + 3 + 3 + 1);
        const Band longer({1, 4, 2, 5, 3});
        QCOMPARE(BandPieces(longer.path, 5).piece(11.0, 12.0).elementCount(), 1 + 3 + 1 + 3 + 1);
    }

    void labelGoesWithThePiecesItReaches() {
        Band band({1, 2, 8, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        const int bandElements = band.path.elementCount();
        LayerLabel::Placement placement;
        placement.x = 5.0;
        placement.y = 2.0;
        placement.thickness = 9.0;
        LayerLabel::addTo(band.path, placement, QStringLiteral("Ab"), 10.0, 40.0);
        const int labelElements = band.path.elementCount() - bandElements;
        QVERIFY(labelElements > 4);
        const BandPieces pieces(band.path, 12);
        QVERIFY(pieces.valid());
        const QRectF label =
            LayerLabel::outlines(placement, QStringLiteral("Ab"), 10.0, 40.0).controlPointRect();
        const QPainterPath reached = pieces.piece(label.center().x(), label.center().x() + 1.0);
        QCOMPARE(reached.elementCount(), 1 + 3 + 1 + 3 + 1 + labelElements);
        QCOMPARE(reached.controlPointRect().united(label), reached.controlPointRect());
        QCOMPARE(pieces.piece(label.right() + 20.0, label.right() + 21.0).elementCount(), 1 + 3 + 1 + 3 + 1);
    }

    void pathsOfAnotherShapeAreRefused() {
        const Band band({1, 2, 3});
        QVERIFY(!BandPieces(band.path, 4).valid());
        QVERIFY(!BandPieces(band.path, 0).valid());
        QVERIFY(!BandPieces(QPainterPath(), 1).valid());
        QPainterPath backwards;
        backwards.moveTo(10, 0);
        for (int i = 0; i < 4; ++i)
            backwards.cubicTo(5, 0, 5, 0, 0, 0);
        QVERIFY(!BandPieces(backwards, 2).valid());
        QVERIFY(BandPieces(band.path, 3).piece(0.0, 10.0).isEmpty() == false);
    }
};

QTEST_MAIN(BandPiecesTest)
#include "tst_bandpieces.moc"
