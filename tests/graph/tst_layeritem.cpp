#include "graph/LayerItem.h"
#include "graph/LayerLabel.h"
#include "graph/LayerOutline.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTest>

#include <cmath>

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

    // Wide enough that the fill goes in strips; both ways round, as the view and the export draw.
    void drawsWhatAPathItemDraws_data() {
        QTest::addColumn<bool>("turned");
        QTest::newRow("upright") << false;
        QTest::newRow("quarter turn") << true;
    }
    void drawsWhatAPathItemDraws() {
        QFETCH(bool, turned);
        QVector<DataPoint> points;
        for (int k = 0; k < 60; ++k)
            points.append(DataPoint{2000, 1, 3.0 + 2.0 * std::sin(0.3 * k) + (k == 5 ? 40.0 : 0.0)});
        SeriesPlacement placement;
        placement.count = int(points.size());
        placement.points = points.constData();
        QVector<double> bottoms;
        for (int k = 0; k < 60; ++k)
            bottoms.append(10.0 + 6.0 * std::cos(0.2 * k));
        LayerOutline outline = LayerOutline::band(placement, bottoms, 300.0, 40.0);
        LayerLabel::addTo(outline.path, LayerLabel::place(placement, bottoms), QStringLiteral("Name"), 300.0,
                          40.0);
        const QPen pen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
        QGraphicsScene ours;
        ours.addItem(new LayerItem(outline.path, pen, QBrush(Qt::darkCyan), placement.count));
        QGraphicsScene plain;
        plain.addPath(outline.path, pen, QBrush(Qt::darkCyan));
        const QRectF source = outline.path.controlPointRect();
        const auto draw = [&](QGraphicsScene& scene) {
            const QSize size(900, 150);
            QImage image(turned ? size.transposed() : size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            if (turned) {
                painter.translate(size.height(), 0.0);
                painter.rotate(90.0);
            }
            scene.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), source);
            return image;
        };
        const QImage image = draw(ours);
        const QImage expected = draw(plain);
        int largest = 0;
        int differing = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb a = image.pixel(x, y);
                const QRgb b = expected.pixel(x, y);
                const int d = qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                                   qAbs(qBlue(a) - qBlue(b)));
                largest = qMax(largest, d);
                differing += d > 2 ? 1 : 0;
            }
        }
        QVERIFY2(largest <= 8, qPrintable(QString::number(largest)));
        QVERIFY2(differing <= 20, qPrintable(QString::number(differing)));
        QVERIFY(image != QImage(image.size(), image.format()));
    }
};

QTEST_MAIN(LayerItemTest)
#include "tst_layeritem.moc"
