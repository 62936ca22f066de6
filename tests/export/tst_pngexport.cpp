#include "export/PngExport.h"

#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
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

// The scene as a 40 × 20 picture.
bool write(const QString& fileName, QString* error) {
    Scene s;
    return PngExport::write(s.scene, QSize(40, 20), SceneImage::Frame(), fileName, error);
}

} // namespace

class PngExportTest : public QObject {
    Q_OBJECT
private slots:
    // Written in bands of a few rows, the file holds the image rendered whole; the footer's rows follow
    // the scene's, which stay exactly those of the export without it.
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
        QVERIFY(PngExport::write(s.scene, size, SceneImage::Frame(), plainFile, &error));
        QVERIFY2(PngExport::write(s.scene, size, frame, footerFile, &error, 7 * size.width() * 4),
                 qPrintable(error));
        const QImage withFooter(footerFile);
        QCOMPARE(withFooter.size(), size + QSize(0, 12));
        QCOMPARE(withFooter.copy(QRect(QPoint(0, 0), size)), QImage(plainFile));
        QCOMPARE(withFooter, SceneImage::render(s.scene, size, frame, &error));
        for (int x : {SceneImage::tileSide - 3, SceneImage::tileSide + 3})
            QCOMPARE(withFooter.pixel(x, 30 + 5), qRgb(0, 0, 255));
        QCOMPARE(withFooter.pixel(SceneImage::tileSide + 10, 30 + 5), qRgb(255, 255, 255));
        QCOMPARE(withFooter.pixel(SceneImage::tileSide, 30 + 1), qRgb(255, 255, 255));
    }

    void writesPngUnderTheExactName() {
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("graph"));
        QString error;
        QVERIFY2(write(fileName, &error), qPrintable(error));
        QVERIFY(readAll(fileName).startsWith("\x89PNG"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("graph")});
        const QImage back(fileName);
        QCOMPARE(back.size(), QSize(40, 20));
        QCOMPARE(back.pixel(5, 5), qRgb(255, 0, 0));
    }

    void transparencySurvivesTheFile() {
        Scene s;
        QTemporaryDir dir;
        const QString fileName = dir.filePath(QStringLiteral("graph.png"));
        QString error;
        SceneImage::Frame frame;
        frame.transparent = true;
        QVERIFY(PngExport::write(s.scene, QSize(40, 20), frame, fileName, &error));
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
        QVERIFY(!write(fileName, &error));
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
        const bool written = write(fileName, &error);
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
        QVERIFY(!write(fileName, &error));
        QVERIFY2(error.contains(fileName), qPrintable(error));
        QCOMPARE(readAll(fileName), before);
    }
#endif
};

QTEST_MAIN(PngExportTest)
#include "tst_pngexport.moc"
