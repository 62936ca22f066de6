#include "graph/LayerItem.h"
#include "graph/LayerLabel.h"
#include "graph/LayerOutline.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTest>

class LayerItemTest : public QObject {
    Q_OBJECT
private slots:
    void boundsCoverTheStrokedOutline_data() {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<double>("penWidth");
        QTest::newRow("smooth") << QVector<double>{2, 6, 4, 5} << 0.5;
        QTest::newRow("sharp spike") << QVector<double>{0, 90, 0, 0.1} << 0.5;
        QTest::newRow("single point") << QVector<double>{3} << 0.5;
        QTest::newRow("wide pen") << QVector<double>{1, 8, 1} << 6.0;
    }
    void boundsCoverTheStrokedOutline() {
        QFETCH(QVector<double>, values);
        QFETCH(double, penWidth);
        QVector<DataPoint> points;
        for (double v : values)
            points.append(DataPoint{2000, 1, v});
        SeriesPlacement placement;
        placement.first = 2;
        placement.count = int(points.size());
        placement.points = points.constData();
        const QVector<double> bottoms(points.size(), 1.0);
        LayerOutline outline = LayerOutline::band(placement, bottoms, 7.0, 30.0);
        LayerLabel::addTo(outline.path, LayerLabel::place(placement, bottoms), QStringLiteral("Name"), 7.0,
                          30.0);
        const QPen pen(QBrush(Qt::black), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
        const LayerItem item(outline.path, pen, QBrush(Qt::gray));
        QGraphicsPathItem stroked(outline.path);
        stroked.setPen(pen);
        QVERIFY(item.boundingRect().contains(stroked.boundingRect()));
        QVERIFY(item.boundingRect().width() <= stroked.boundingRect().width() + 2 * penWidth);
        QCOMPARE(item.pen(), pen);
        QCOMPARE(item.brush().color(), QColor(Qt::gray));
        QCOMPARE(item.path(), outline.path);
    }

    void drawsWhatAPathItemDraws() {
        QVector<DataPoint> points;
        for (double v : {1.0, 4.0, 2.0, 5.0})
            points.append(DataPoint{2000, 1, v});
        SeriesPlacement placement;
        placement.count = int(points.size());
        placement.points = points.constData();
        const QVector<double> bottoms(points.size(), 0.5);
        LayerOutline outline = LayerOutline::band(placement, bottoms, 20.0, 10.0);
        LayerLabel::addTo(outline.path, LayerLabel::place(placement, bottoms), QStringLiteral("Name"), 20.0,
                          10.0);
        const QPen pen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
        QGraphicsScene ours;
        ours.addItem(new LayerItem(outline.path, pen, QBrush(Qt::darkCyan)));
        QGraphicsScene plain;
        plain.addPath(outline.path, pen, QBrush(Qt::darkCyan));
        const auto draw = [](QGraphicsScene& scene) {
            QImage image(80, 70, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, QRectF(image.rect()), QRectF(0, -70, 80, 70));
            return image;
        };
        const QImage image = draw(ours);
        QCOMPARE(image, draw(plain));
        QVERIFY(image.pixel(30, 40) != qRgb(255, 255, 255));
    }
};

QTEST_MAIN(LayerItemTest)
#include "tst_layeritem.moc"
