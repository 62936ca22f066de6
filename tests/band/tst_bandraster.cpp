#include "band/BandRaster.h"
#include "band/LayerOutline.h"
#include "raster/CellRaster.h"
#include "raster/PixelBlend.h"
#include "support/PictureCompare.h"

#include <QFont>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

namespace {

// A band of random heights: flat runs, zeros at either end, tiny values and spikes, as real data has them.
BandGeometry randomBand(QRandomGenerator& random, int count, double xScale, double yScale) {
    BandGeometry band;
    band.first = int(random.bounded(5));
    band.xScale = xScale;
    band.yScale = yScale;
    double bottom = random.generateDouble() * 40.0;
    for (int k = 0; k < count; ++k) {
        const int kind = int(random.bounded(6));
        const double value = kind == 0   ? 0.0
                             : kind == 1 ? 1e-6
                             : kind == 2 ? 30.0 * random.generateDouble()
                                         : 4.0 * random.generateDouble();
        bottom += (random.generateDouble() - 0.5) * 6.0;
        band.bottoms.append(bottom);
        band.tops.append(bottom + value);
    }
    if (count > 0 && random.bounded(2)) {
        band.tops.first() = band.bottoms.first();
        band.tops.last() = band.bottoms.last();
    }
    return band;
}

struct Drawing {
    QImage image;
    QTransform transform;
};

// The band's path drawn by Qt, and by the rasterizer, on the same background.
QImage byQt(const BandGeometry& band, const QPainterPath& glyphs, const QTransform& transform,
            const QSize& size, const QColor& fill, const QPen& pen, QImage::Format format, bool clipped,
            double opacity) {
    QImage image(size, format);
    image.fill(QColor(250, 240, 200));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (clipped)
        painter.setClipRect(QRect(QPoint(0, 0), size));
    painter.setTransform(transform);
    painter.setOpacity(opacity);
    painter.setPen(pen);
    painter.setBrush(fill.isValid() ? QBrush(fill) : QBrush());
    QPainterPath path = LayerOutline::band(band).path;
    path.addPath(glyphs);
    painter.drawPath(path);
    return image;
}

QImage byRaster(const BandGeometry& band, const QPainterPath& glyphs, const QTransform& transform,
                const QSize& size, const QColor& fill, const QPen& pen, QImage::Format format, bool clipped,
                double opacity, int columnsAtOnce) {
    QImage image(size, format);
    image.fill(QColor(250, 240, 200));
    BandRaster::Device device;
    device.pixels = reinterpret_cast<uint*>(image.bits());
    device.pixelsPerLine = image.bytesPerLine() / 4;
    device.rect = image.rect();
    device.clip = image.rect();
    device.transform = transform;
    device.clipped = clipped;
    CellRaster cells;
    const PathContours contours(glyphs);
    const int opacity256 = int(opacity * 256);
    if (fill.isValid())
        for (int left = 0; left < size.width(); left += columnsAtOnce)
            BandRaster::fill(band, contours, device, PixelBlend::faded(fill.rgba64(), opacity256).toArgb32(),
                             left, left + columnsAtOnce, cells);
    if (pen.style() != Qt::NoPen) {
        BandRaster::outline(band, 0, band.count() - 1, device,
                            PixelBlend::faded(pen.color().rgba64(), opacity256), pen.widthF());
        BandRaster::outline(contours, device, PixelBlend::faded(pen.color().rgba64(), opacity256),
                            pen.widthF(), pen.capStyle() != Qt::FlatCap);
    }
    return image;
}

} // namespace

class BandRasterTest : public QObject {
    Q_OBJECT
private slots:
    // Random bands under scales from a whole graph seen at once to deep zoom: every pixel as Qt draws it.
    void drawsWhatQtDraws_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("scale");
        QTest::addColumn<bool>("outline");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("label");
        QTest::newRow("fitted, fill") << 200 << 0.02 << false << 256 << false;
        QTest::newRow("fitted, outline") << 200 << 0.02 << true << 256 << false;
        QTest::newRow("far, outline too faint to mark") << 400 << 0.006 << true << 256 << false;
        QTest::newRow("near, outline") << 40 << 0.3 << true << 97 << false;
        QTest::newRow("close") << 12 << 1.3 << true << 256 << false;
        QTest::newRow("one point") << 1 << 0.5 << true << 256 << false;
        QTest::newRow("two points") << 2 << 0.9 << true << 31 << false;
        QTest::newRow("label, fitted") << 120 << 0.03 << true << 256 << true;
        QTest::newRow("label, near") << 30 << 0.4 << true << 73 << true;
        QTest::newRow("label alone") << 0 << 0.4 << false << 73 << true;
    }
    void drawsWhatQtDraws() {
        QFETCH(int, count);
        QFETCH(double, scale);
        QFETCH(bool, outline);
        QFETCH(int, columns);
        QFETCH(bool, label);
        QRandomGenerator random(uint(count * 1000 + scale * 100));
        const QPen pen = outline ? QPen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin)
                                 : QPen(Qt::NoPen);
        for (int round = 0; round < 20; ++round) {
            const BandGeometry band = randomBand(random, count, 320.0, 12.0);
            const QSize size(600, 300);
            QTransform transform;
            transform.translate(-random.bounded(50) - 0.37, 150.0 + random.generateDouble() * 100.0);
            // The same scale both ways, as views and exports keep the aspect ratio: only then does Qt draw
            // thin pens as the lines its rasterizer draws.
            const double s = scale * (0.5 + random.generateDouble());
            transform.scale(s, s);
            // Glyphs anywhere along the band, cut out of it as its name is.
            QPainterPath glyphs;
            if (label) {
                QFont font;
                font.setPixelSize(10 + int(random.bounded(2000)));
                glyphs.addText(
                    count ? QPointF(band.sceneX(int(random.bounded(count))) - 500.0, -band.bottoms[0] * 12.0)
                          : QPointF(300.0, -100.0),
                    font, QStringLiteral("Wag & 7%e"));
            }
            const QColor fill =
                QColor::fromHsv(int(random.bounded(360)), 200, 230, round % 5 == 0 ? 160 : 255);
            const QImage::Format format =
                round % 2 ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
            // Some layers faded, as the others are while one is picked out.
            const double opacity = round % 3 == 1 ? 0.25 : round % 7 == 2 ? random.generateDouble() : 1.0;
            for (bool clipped : {false, true}) {
                const QImage expected =
                    byQt(band, glyphs, transform, size, fill, pen, format, clipped, opacity);
                const QImage drawn =
                    byRaster(band, glyphs, transform, size, fill, pen, format, clipped, opacity, columns);
                const PictureDifference difference = comparePictures(drawn, expected, 0);
                QVERIFY2(difference.differing == 0,
                         qPrintable(QStringLiteral("round %1: ").arg(round) + difference.text()));
            }
        }
    }

    // A band taller than the rasterizer's block of rows, with its name, is swept block by block: every
    // pixel as Qt draws it, whichever block it falls in.
    void tallerThanARowBlock() {
        BandGeometry band;
        band.xScale = 40.0;
        band.yScale = 1.0;
        for (int k = 0; k < 16; ++k) {
            band.bottoms.append(k % 3 == 0 ? 0.0 : 5.0 * k);
            band.tops.append(k == 0 || k == 15 ? band.bottoms.last() : 1000.0 + 37.0 * k);
        }
        QPainterPath glyphs;
        QFont font;
        font.setPixelSize(700);
        glyphs.addText(QPointF(30.0, -80.0), font, QStringLiteral("Wg"));
        const QSize size(640, 1300);
        QTransform transform;
        transform.translate(0.4, 1250.3);
        const QColor fill(200, 90, 40);
        for (bool clipped : {false, true}) {
            const QImage expected = byQt(band, glyphs, transform, size, fill, QPen(Qt::NoPen),
                                         QImage::Format_RGB32, clipped, 1.0);
            const QImage drawn = byRaster(band, glyphs, transform, size, fill, QPen(Qt::NoPen),
                                          QImage::Format_RGB32, clipped, 1.0, 256);
            const PictureDifference difference = comparePictures(drawn, expected, 0);
            QVERIFY2(difference.differing == 0, qPrintable(difference.text()));
        }
    }
};

QTEST_MAIN(BandRasterTest)
#include "tst_bandraster.moc"
