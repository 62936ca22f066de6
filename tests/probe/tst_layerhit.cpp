#include "support/GraphFixtures.h"
#include "support/TestFiles.h"

#include "band/LayerItem.h"
#include "data/DataFileReader.h"
#include "graph/GraphLayout.h"
#include "labels/LabelCache.h"
#include "probe/LayerHit.h"

#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

using GraphFixtures::at;

namespace {

// A: 2, 2, 2 from month 0; B: 0, 4, 4 from month 0 (0 thick in month 0); C: 1 in month 1 only; D: 1, 1 on
// top from month 1. Onset order on the x-axis baseline: A, B, C, D from the bottom.
DataSet hand() {
    DataSet data;
    data.series = {at(0, {2, 2, 2}, QStringLiteral("A")), at(0, {0, 4, 4}, QStringLiteral("B")),
                   at(1, {1}, QStringLiteral("C")), at(1, {1, 1}, QStringLiteral("D"))};
    return data;
}

GraphLayout layOutWith(const DataSet& data, int baseline, GraphSettings::LabelMode labels,
                       double width = 200) {
    GraphSettings settings;
    settings.baseline = baseline;
    settings.sort = 0;
    settings.width = width;
    settings.labels = labels;
    return layOut(data, settings);
}

// Each layer's name as the scene draws it.
QVector<QPainterPath> labelsOf(const GraphLayout& layout) {
    LabelCache cache;
    QVector<QPainterPath> labels;
    for (const LayerLayout& layer : layout.layers)
        labels.append(cache.outlines(layer.label));
    return labels;
}

// Layer i in the colour i + 1: white is far beyond any layer count here.
QRgb flatColor(int layer) {
    return qRgb((layer + 1) & 0xff, (layer + 1) >> 8, 0);
}

// Every layer in its own flat colour, band and name, no outline, no antialiasing, under transform: what
// the picture shows where, through the same drawing as the scene's (deep zoom included).
QImage flatPicture(const GraphLayout& layout, const QVector<QPainterPath>& labels,
                   const QTransform& transform, const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int i = 0; i < layout.layers.size(); ++i) {
        const QBrush brush{QColor(flatColor(i))};
        // The band, then the name in the same colour: a name is its layer's wherever it is drawn.
        const LayerItem band(layout.layers[i].band, QPainterPath(), QPen(Qt::NoPen), brush);
        const LayerItem name(BandGeometry(), labels[i], QPen(Qt::NoPen), brush);
        for (const LayerItem* item : {&band, &name}) {
            painter.setWorldTransform(transform);
            item->draw(&painter);
        }
    }
    return image;
}

} // namespace

class LayerHitTest : public QObject {
    Q_OBJECT
private slots:
    void handComputed_data() {
        QTest::addColumn<double>("month");
        QTest::addColumn<double>("height");
        QTest::addColumn<int>("layer");
        QTest::addColumn<int>("nearestMonth");
        // Month 1 (x-axis): A 0..2, B 2..6, C 6..7, D 7..8.
        QTest::newRow("month boundary, A") << 1.0 << 1.0 << 0 << 1;
        QTest::newRow("an edge belongs to the layer above") << 1.0 << 2.0 << 1 << 1;
        QTest::newRow("one-month layer at its month") << 1.0 << 6.5 << 2 << 1;
        QTest::newRow("above the stack") << 1.0 << 8.0 << -1 << 1;
        QTest::newRow("below the stack") << 1.0 << -0.1 << -1 << 1;
        // Month 0: B is 0 thick, so right above A lies nothing.
        QTest::newRow("0 thick: nothing there") << 0.0 << 2.0 << -1 << 0;
        QTest::newRow("0 thick: A below") << 0.0 << 1.99 << 0 << 0;
        // Halfway between months 0 and 1 every edge has moved half way: B spans 2 .. 4.
        QTest::newRow("halfway, B") << 0.5 << 3.9 << 1 << 1;
        // A quarter of the way the curve has moved s(0.25) of the way: B's top is 2 + 2 * s.
        QTest::newRow("on the curve, not the chord")
            << 0.25 << 2.0 + 4.0 * LayerHit::edgeShare(0.25) - 1e-9 << 1 << 0;
        QTest::newRow("chord height is above the curve") << 0.25 << 2.0 + 4.0 * 0.25 << -1 << 0;
        // D falls from 7 .. 8 to 6 .. 7 once C has ended: between them a wedge of nothing above B.
        QTest::newRow("where a one-month layer was") << 1.5 << 6.3 << -1 << 2;
        QTest::newRow("D falling") << 1.5 << 6.5 << 3 << 2;
        QTest::newRow("right of the graph") << 2.01 << 1.0 << -1 << -1;
    }
    void handComputed() {
        QFETCH(double, month);
        QFETCH(double, height);
        QFETCH(int, layer);
        QFETCH(int, nearestMonth);
        const GraphLayout layout = layOutWith(hand(), 0, GraphSettings::LabelMode::None);
        QCOMPARE(layout.order, QVector<int>({0, 1, 2, 3}));
        const QPointF point(month * layout.xScale, -height * layout.yScale);
        const LayerHit hit = LayerHit::find(layout, {}, point);
        QCOMPARE(hit.layer, layer);
        QCOMPARE(hit.month, qint64(nearestMonth));
    }

    // A one-month layer is a line, touched within the reach beside it.
    void oneMonthLayerWithinReach() {
        const GraphLayout layout = layOutWith(hand(), 0, GraphSettings::LabelMode::None);
        const QPointF besideC(1.0 * layout.xScale + 0.2, -6.5 * layout.yScale);
        QCOMPARE(LayerHit::find(layout, {}, besideC, 0.25).layer, 2);
    }

    // The layer found at a pixel is the layer whose colour the picture has there, at 1000 random pixels
    // a pixel away from any edge, at several transforms down to deep zoom and on every baseline.
    void agreesWithThePicture_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("generated");
        for (int baseline = 0; baseline < 3; ++baseline) {
            for (const double zoom : {1.0, std::pow(1.15, 30), std::pow(1.15, 60)}) {
                const QString name =
                    QStringLiteral("baseline %1, zoom %2").arg(baseline).arg(zoom, 0, 'f', 0);
                QTest::newRow(qPrintable(name + QStringLiteral(", example"))) << baseline << zoom << false;
                QTest::newRow(qPrintable(name + QStringLiteral(", generated"))) << baseline << zoom << true;
            }
        }
    }
    void agreesWithThePicture() {
        QFETCH(int, baseline);
        QFETCH(double, zoom);
        QFETCH(bool, generated);
        DataSet data;
        if (generated)
            data.series = GraphFixtures::generated(200, 120, 23);
        else
            data = DataFileReader::readFile(exampleDataFile()).data;
        const QSize size(800, 500);
        // As wide as the picture's proportions ask, so that the fitted graph fills it.
        const double height = layOutWith(data, baseline, GraphSettings::LabelMode::None).sceneRect.height();
        const GraphLayout layout = layOutWith(data, baseline, GraphSettings::LabelMode::Classic,
                                              height * size.width() / size.height());
        QVERIFY(layout.drawable);
        const QVector<QPainterPath> labels = labelsOf(layout);
        // Fitted, then zoomed in around a point inside the stack, as the wheel does at the view's centre.
        const QRectF rect = layout.sceneRect;
        const double fit = qMin(size.width() / rect.width(), size.height() / rect.height()) * zoom;
        QRandomGenerator random(quint32(baseline * 7 + int(zoom)));
        const LayerLayout& middle = layout.layers[layout.layers.size() / 2];
        const int k = middle.band.count() / 2;
        const QPointF focus(middle.band.sceneX(k),
                            -(middle.band.bottoms[k] + middle.band.tops[k]) / 2 * middle.band.yScale);
        const QPointF centre = zoom == 1.0 ? rect.center() : focus;
        const QTransform transform = QTransform()
                                         .translate(size.width() / 2.0, size.height() / 2.0)
                                         .scale(fit, fit)
                                         .translate(-centre.x(), -centre.y());
        const QImage picture = flatPicture(layout, labels, transform, size);
        const QTransform toScene = transform.inverted();
        int checked = 0;
        int onLayers = 0;
        for (int tries = 0; checked < 1000 && tries < 200000; ++tries) {
            const int x = 1 + int(random.bounded(size.width() - 2));
            const int y = 1 + int(random.bounded(size.height() - 2));
            // A pixel a pixel away from any edge: its eight neighbours have its colour.
            const QRgb color = picture.pixel(x, y);
            bool away = true;
            for (int d = 0; d < 9 && away; ++d)
                away = picture.pixel(x - 1 + d % 3, y - 1 + d / 3) == color;
            if (!away)
                continue;
            const int expected = color == qRgb(255, 255, 255) ? -1 : qRed(color) + (qGreen(color) << 8) - 1;
            const LayerHit hit = LayerHit::find(layout, labels, toScene.map(QPointF(x + 0.5, y + 0.5)));
            QVERIFY2(hit.layer == expected, qPrintable(QString::asprintf("pixel %d, %d: found %d, drawn %d",
                                                                         x, y, hit.layer, expected)));
            ++checked;
            onLayers += expected >= 0 ? 1 : 0;
        }
        QCOMPARE(checked, 1000);
        // Thin layers of many series leave fewer pixels a pixel away from every edge.
        QVERIFY2(onLayers > 100, qPrintable(QString::number(onLayers)));
    }
};

QTEST_MAIN(LayerHitTest)
#include "tst_layerhit.moc"
