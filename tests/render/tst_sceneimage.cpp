#include "render/SceneImage.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// A 100 × 50 scene whose left half is covered in red.
struct Scene {
    Scene() {
        scene.setSceneRect(0, 0, 100, 50);
        scene.addRect(0, 0, 50, 50, QPen(Qt::NoPen), QBrush(Qt::red));
    }
    QGraphicsScene scene;
};

// Long thin wavy bands with text cut out of them, outlined by a pen far below a pixel wide: the
// kind of picture a graph of many layers gives.
struct BandScene {
    BandScene() {
        const double months = 120.0;
        const double xScale = 320.0;
        double bottom[121] = {};
        for (int layer = 0; layer < 12; ++layer) {
            QPainterPath path;
            double top[121];
            for (int m = 0; m <= months; ++m)
                top[m] = bottom[m] + 3.0 + 2.0 * std::sin(0.1 * m + layer);
            path.moveTo(0.0, -top[0] * 200.0);
            for (int m = 1; m <= months; ++m) {
                const double mid = (m - 0.5) * xScale;
                path.cubicTo(mid, -top[m - 1] * 200.0, mid, -top[m] * 200.0, m * xScale, -top[m] * 200.0);
            }
            for (int m = int(months); m > 0; --m) {
                const double mid = (m - 0.5) * xScale;
                path.cubicTo(mid, -bottom[m] * 200.0, mid, -bottom[m - 1] * 200.0, (m - 1) * xScale,
                             -bottom[m - 1] * 200.0);
            }
            QFont font;
            font.setPixelSize(500);
            path.addText(layer * 2000.0, -(bottom[0] + 1.0) * 200.0, font, QStringLiteral("Layer"));
            scene.addPath(path, QPen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin),
                          QBrush(QColor::fromHsv(layer * 30, 200, 230)));
            std::copy(top, top + 121, bottom);
        }
        scene.setSceneRect(scene.itemsBoundingRect());
    }
    QGraphicsScene scene;
};

} // namespace

class SceneImageTest : public QObject {
    Q_OBJECT
private slots:
    void rendersOnWhiteBackground_data() {
        QTest::addColumn<bool>("transparent");
        QTest::newRow("transparent") << true;
        QTest::newRow("opaque") << false;
    }
    void rendersOnWhiteBackground() {
        QFETCH(bool, transparent);
        Scene s;
        QString error;
        // Taller than the scene's aspect: the scene fills the width from the top, the rest stays background.
        const QImage image = SceneImage::render(s.scene, QSize(40, 30), transparent, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), QSize(40, 30));
        QCOMPARE(image.format(), transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        QCOMPARE(image.pixel(5, 5), qRgb(255, 0, 0));
        const QRgb background = transparent ? qRgba(255, 255, 255, 0) : qRgb(255, 255, 255);
        QCOMPARE(image.pixel(35, 5), background);
        QCOMPARE(image.pixel(5, 28), background);
    }

    // Wider than a tile and rendered in bands of a few rows: the rows hold what one painter on one image
    // draws.
    void bandsAndTilesDrawTheWholePicture_data() {
        QTest::addColumn<bool>("transparent");
        QTest::newRow("opaque") << false;
        QTest::newRow("transparent") << true;
    }
    void bandsAndTilesDrawTheWholePicture() {
        QFETCH(bool, transparent);
        BandScene s;
        const QSize size(SceneImage::tileSide + 3000, 70);
        SceneImage::Frame frame;
        frame.transparent = transparent;
        QImage banded(size, SceneImage::formatFor(transparent));
        const int bandRows = 9;
        for (int top = 0; top < size.height(); top += bandRows) {
            QImage rows(banded.scanLine(top), size.width(), qMin(bandRows, size.height() - top),
                        banded.bytesPerLine(), banded.format());
            SceneImage::renderRows(s.scene, size, frame, top, rows);
        }
        QImage expected(size, SceneImage::formatFor(transparent));
        expected.fill(transparent ? qRgba(255, 255, 255, 0) : qRgb(255, 255, 255));
        {
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::Antialiasing);
            s.scene.render(&painter, QRectF(), QRectF(), Qt::KeepAspectRatio);
        }
        QCOMPARE(banded, expected);
    }

    void emptySceneGivesPlainBackground() {
        QGraphicsScene empty;
        QString error;
        const QImage image = SceneImage::render(empty, QSize(8, 8), false, &error);
        QCOMPARE(image.size(), QSize(8, 8));
        QCOMPARE(image.pixel(4, 4), qRgb(255, 255, 255));
    }

    void unusableSizesAreRefused_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("named");
        QTest::newRow("zero height") << QSize(16, 0) << QStringLiteral("16x0");
        QTest::newRow("zero width") << QSize(0, 10) << QStringLiteral("0x10");
        QTest::newRow("negative") << QSize(-4, 10) << QStringLiteral("-4x10");
        QTest::newRow("too large") << QSize(100000, 100000) << QStringLiteral("100000x100000");
        QTest::newRow("too large, thin") << QSize(1 << 29, 2) << QStringLiteral("536870912x2");
    }
    void unusableSizesAreRefused() {
        QFETCH(QSize, size);
        QFETCH(QString, named);
        Scene s;
        QString error;
        QVERIFY(SceneImage::render(s.scene, size, true, &error).isNull());
        QVERIFY2(error.contains(named), qPrintable(error));
    }
};

QTEST_MAIN(SceneImageTest)
#include "tst_sceneimage.moc"
