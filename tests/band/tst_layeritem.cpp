#include "band/LayerItem.h"
#include "band/LayerOutline.h"
#include "graph/LayerLabel.h"
#include "labels/LabelCache.h"
#include "render/SceneImage.h"
#include "support/PictureCompare.h"

#include <QBrush>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QTest>

#include <cmath>

namespace {

const QPen layerPen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);

// A band from month 2 on bottoms 1 + something wavy, with the values given, and its label.
struct Band {
    Band(const QVector<double>& values, double xScale, double yScale, const QVector<double>& base = {}) {
        for (double v : values)
            points.append(DataPoint{2000, 1, v});
        placement.first = 2;
        placement.count = int(points.size());
        placement.points = points.constData();
        for (int k = 0; k < points.size(); ++k)
            bottoms.append(base.isEmpty() ? 10.0 + 6.0 * std::cos(0.2 * k) : base[k]);
        geometry = BandGeometry::of(placement, bottoms, xScale, yScale);
        label = LabelCache::plainOutlines(
            LayerLabel::drawn(LayerLabel::place(placement, bottoms), QStringLiteral("Name"), xScale, yScale));
    }
    QVector<DataPoint> points;
    SeriesPlacement placement;
    QVector<double> bottoms;
    BandGeometry geometry;
    QPainterPath label;
};

QVector<double> wave(int n, double start, double end) {
    QVector<double> values;
    for (int k = 0; k < n; ++k)
        values.append(3.0 + 2.0 * std::sin(0.3 * k) + (k == 5 ? 40.0 : 0.0));
    values.first() = start;
    values.last() = end;
    return values;
}

} // namespace

class LayerItemTest : public QObject {
    Q_OBJECT
private slots:
    void holdsTheBandAndItsLabel_data() {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<double>("penWidth");
        QTest::newRow("smooth") << QVector<double>{2, 6, 4, 5} << 0.5;
        QTest::newRow("sharp spike") << QVector<double>{0, 90, 0, 0.1} << 0.5;
        QTest::newRow("single point") << QVector<double>{3} << 0.5;
        QTest::newRow("wide pen") << QVector<double>{1, 8, 1} << 6.0;
    }
    void holdsTheBandAndItsLabel() {
        QFETCH(QVector<double>, values);
        QFETCH(double, penWidth);
        const Band band(values, 7.0, 30.0);
        const QPen pen(QBrush(Qt::black), penWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
        const LayerItem item(band.geometry, band.label, pen, QBrush(Qt::gray));
        QPainterPath expected = LayerOutline::band(band.geometry).path;
        expected.addPath(band.label);
        QCOMPARE(item.path(), expected);
        QGraphicsPathItem stroked(expected);
        stroked.setPen(pen);
        QVERIFY(item.boundingRect().contains(stroked.boundingRect()));
        QVERIFY(item.boundingRect().width() <= stroked.boundingRect().width() + 2 * penWidth);
        QCOMPARE(item.pen(), pen);
        QCOMPARE(item.brush().color(), QColor(Qt::gray));
    }

    // Long enough that the fill goes in strips at most of these scales; bands that start or end at 0
    // (Qt drops the zero-height segments there), hair-thin tails, one month; seen whole, zoomed in,
    // and so far in that the plain path reaches beyond what Qt's rasterizer takes.
    void drawsWhatAPathItemDraws_data() {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<QVector<double>>("base");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("centre");    // month at the image's centre
        QTest::addColumn<bool>("filledLabel"); // filled apart from the band rather than cut out of it
        const QVector<double> none;
        const QVector<double> thousand(60, 1000.0);
        QVector<double> tail = wave(60, 3.0, 1e-10);
        for (int k = 30; k < 60; ++k)
            tail[k] = 1e-10;
        for (bool filled : {false, true}) {
            for (double zoom : {1.0, 12.0, 400.0}) {
                const QByteArray z = " x" + QByteArray::number(zoom) + (filled ? ", filled label" : "");
                QTest::newRow("wave" + z) << wave(60, 3.0, 4.0) << none << zoom << 20.0 << filled;
                QTest::newRow("zero at start" + z) << wave(60, 0.0, 4.0) << none << zoom << 4.0 << filled;
                QTest::newRow("zero at end" + z) << wave(60, 3.0, 0.0) << none << zoom << 59.0 << filled;
                QTest::newRow("zero at both ends" + z)
                    << wave(60, 0.0, 0.0) << none << zoom << 32.0 << filled;
                QTest::newRow("tiny tail on a stack" + z) << tail << thousand << zoom << 45.0 << filled;
                QTest::newRow("one point" + z) << QVector<double>{5.0} << none << zoom << 0.0 << filled;
            }
            // Deep inside the label itself, where its glyphs reach far beyond what the rasterizer takes.
            QTest::newRow(filled ? "inside the label, filled" : "inside the label")
                << wave(60, 3.0, 4.0) << none << 3000.0 << 5.4 << filled;
        }
    }
    void drawsWhatAPathItemDraws() {
        QFETCH(QVector<double>, values);
        QFETCH(QVector<double>, base);
        QFETCH(double, zoom);
        QFETCH(double, centre);
        QFETCH(bool, filledLabel);
        const double xScale = 300.0;
        const double yScale = 40.0;
        const Band band(values, xScale, yScale, base);
        QGraphicsScene ours;
        ours.addItem(new LayerItem(band.geometry, band.label, layerPen, QBrush(Qt::darkCyan),
                                   LayerItem::Storage::WholePath,
                                   filledLabel ? QBrush(Qt::white) : QBrush()));
        const std::unique_ptr<QGraphicsScene> plain = plainCopy(ours);
        // At zoom 1 the whole band (62 months) fits the width; the centre month sits in the middle.
        const QSize size(900, 240);
        const double scale = zoom * size.width() / (64.0 * xScale);
        const int k = qMin(int(centre), int(values.size()) - 1);
        const QPointF focus(band.geometry.sceneX(k),
                            -0.5 * (band.geometry.bottoms[k] + band.geometry.tops[k]) * yScale);
        QTransform transform;
        transform.translate(size.width() / 2.0, size.height() / 2.0);
        transform.scale(scale, scale);
        transform.translate(-focus.x(), -focus.y());

        const QImage image = paintScene(ours, size, transform);
        const QImage expected = paintScene(*plain, size, transform);
        const PictureDifference difference = comparePictures(image, expected);
        QVERIFY2(difference.largest <= 8 && difference.differing <= 10, qPrintable(difference.text()));
        QVERIFY(image != QImage(image.size(), image.format()));
    }

    // Drawn straight into an image's pixels, tile by tile and clipped to the image, as exports draw it: the
    // band with its name cut out or filled, at full strength and faded, every pixel as the plain path item
    // draws it.
    void drawsIntoPixelsAsAPathItemDraws_data() {
        QTest::addColumn<bool>("filledLabel");
        QTest::addColumn<double>("opacity");
        for (bool filled : {false, true})
            for (double opacity : {1.0, 0.25})
                QTest::addRow("%s, opacity %g", filled ? "filled label" : "cut-out label", opacity)
                    << filled << opacity;
    }
    void drawsIntoPixelsAsAPathItemDraws() {
        QFETCH(bool, filledLabel);
        QFETCH(double, opacity);
        const Band band(wave(60, 0.0, 4.0), 300.0, 40.0);
        QGraphicsScene ours;
        auto* item = new LayerItem(band.geometry, band.label, layerPen, QBrush(Qt::darkCyan),
                                   LayerItem::Storage::WholePath, filledLabel ? QBrush(Qt::white) : QBrush());
        item->setOpacity(opacity);
        ours.addItem(item);
        const std::unique_ptr<QGraphicsScene> plain = plainCopy(ours);
        const QSize size(900, 240);
        QTransform transform;
        transform.translate(4.3, 380.6);
        transform.scale(0.5, 0.5);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(
            SceneImage::drawLayers(ours, transform, QRectF(image.rect()), image, 4, nullptr, image.rect()));
        const PictureDifference difference = comparePictures(image, paintScene(*plain, size, transform), 0);
        QVERIFY2(difference.differing == 0, qPrintable(difference.text()));
    }
};

QTEST_MAIN(LayerItemTest)
#include "tst_layeritem.moc"
