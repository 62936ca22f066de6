#include "graph/SceneImage.h"

#include <QDir>
#include <QFile>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

QByteArray readAll(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

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

QImage smallImage() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    return image;
}

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

    // Wider than a tile and written in bands of a few rows: the file holds what one painter on one
    // image draws.
    void bandsAndTilesDrawTheWholePicture_data() {
        QTest::addColumn<bool>("transparent");
        QTest::newRow("opaque") << false;
        QTest::newRow("transparent") << true;
    }
    void bandsAndTilesDrawTheWholePicture() {
        QFETCH(bool, transparent);
        BandScene s;
        const QSize size(SceneImage::tileSide + 3000, 70);
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("graph.png"));
        QString error;
        SceneImage::Frame frame;
        frame.transparent = transparent;
        QVERIFY2(SceneImage::exportPng(s.scene, size, frame, fileName, &error, 9 * size.width() * 4),
                 qPrintable(error));
        QImage expected(size, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        expected.fill(transparent ? qRgba(255, 255, 255, 0) : qRgb(255, 255, 255));
        {
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::Antialiasing);
            s.scene.render(&painter, QRectF(), QRectF(), Qt::KeepAspectRatio);
        }
        const QImage written(fileName);
        QCOMPARE(written.convertToFormat(expected.format()), expected);
    }

    // The footer's rows follow the scene's, which stay exactly those of the export without it, also
    // in bands of a few rows; the footer is drawn across tiles like the scene.
    void footerRowsFollowTheScene() {
        Scene s;
        const QSize size(SceneImage::tileSide + 40, 30);
        SceneImage::Frame frame;
        SceneImage::Footer& footer = frame.footer;
        footer.rows = 12;
        footer.paint = [](QPainter& painter, const QRect&) {
            painter.fillRect(QRect(SceneImage::tileSide - 5, 3, 10, 8), Qt::blue);
        };
        QTemporaryDir dir;
        const QString plainFile = dir.filePath(QStringLiteral("plain.png"));
        const QString footerFile = dir.filePath(QStringLiteral("footer.png"));
        QString error;
        QVERIFY(SceneImage::exportPng(s.scene, size, false, plainFile, &error));
        QVERIFY2(SceneImage::exportPng(s.scene, size, frame, footerFile, &error, 7 * size.width() * 4),
                 qPrintable(error));
        const QImage withFooter(footerFile);
        QCOMPARE(withFooter.size(), size + QSize(0, 12));
        QCOMPARE(withFooter.copy(QRect(QPoint(0, 0), size)), QImage(plainFile));
        for (int x : {SceneImage::tileSide - 3, SceneImage::tileSide + 3})
            QCOMPARE(withFooter.pixel(x, 30 + 5), qRgb(0, 0, 255));
        QCOMPARE(withFooter.pixel(SceneImage::tileSide + 10, 30 + 5), qRgb(255, 255, 255));
        QCOMPARE(withFooter.pixel(SceneImage::tileSide, 30 + 1), qRgb(255, 255, 255));
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

    void writesPngUnderTheExactName() {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("graph"));
        QString error;
        QVERIFY2(SceneImage::writePng(smallImage(), fileName, &error), qPrintable(error));
        QVERIFY(readAll(fileName).startsWith("\x89PNG"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("graph")});
        const QImage back(fileName);
        QCOMPARE(back.size(), QSize(4, 3));
        QCOMPARE(back.pixel(0, 0), qRgb(0, 255, 0));
    }

    void transparencySurvivesTheFile() {
        Scene s;
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("graph.png"));
        QString error;
        QVERIFY(
            SceneImage::writePng(SceneImage::render(s.scene, QSize(40, 20), true, &error), fileName, &error));
        const QImage back(fileName);
        QVERIFY(back.hasAlphaChannel());
        QCOMPARE(qAlpha(back.pixel(35, 10)), 0);
        QCOMPARE(qAlpha(back.pixel(5, 10)), 255);
    }

    void failedWritesReportTheFile_data() {
        QTest::addColumn<QString>("relativeName");
        QTest::newRow("missing directory") << QStringLiteral("missing/graph.png");
        QTest::newRow("path is a directory") << QStringLiteral("sub");
        QTest::newRow("below a file") << QStringLiteral("existing.png/graph.png");
    }
    void failedWritesReportTheFile() {
        QFETCH(QString, relativeName);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("existing.png")), "old bytes"));
        const QString fileName = dir.filePath(relativeName);
        QString error;
        QVERIFY(!SceneImage::writePng(smallImage(), fileName, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(fileName)), qPrintable(error));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("sub"))).isDir());
        QCOMPARE(readAll(dir.filePath(QStringLiteral("existing.png"))), QByteArray("old bytes"));
    }

    void failedWriteKeepsTheExistingFile() {
        QTemporaryDir dir;
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        const QString fileName = locked + QStringLiteral("/graph.png");
        QVERIFY(writeBytes(fileName, "old bytes"));
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (writeBytes(locked + QStringLiteral("/probe"), "x")) {
            QFile::setPermissions(locked,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("directory permissions are not enforced for this user");
        }
        QString error;
        const bool written = SceneImage::writePng(smallImage(), fileName, &error);
        QFile::setPermissions(locked,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!written);
        QVERIFY2(error.contains(QDir::toNativeSeparators(fileName)), qPrintable(error));
        QCOMPARE(readAll(fileName), QByteArray("old bytes"));
    }

#ifdef Q_OS_LINUX
    // A file that exists but beside which no temporary file can be made, even for root.
    void failedWriteKeepsAFileWhereNoTemporaryCanLive() {
        const QString fileName = QStringLiteral("/proc/self/comm");
        const QByteArray before = readAll(fileName);
        QString error;
        QVERIFY(!SceneImage::writePng(smallImage(), fileName, &error));
        QVERIFY2(error.contains(fileName), qPrintable(error));
        QCOMPARE(readAll(fileName), before);
    }
#endif
};

QTEST_MAIN(SceneImageTest)
#include "tst_sceneimage.moc"
