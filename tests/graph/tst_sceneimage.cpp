#include "graph/SceneImage.h"

#include <QDir>
#include <QFile>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QTemporaryDir>
#include <QTest>

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
