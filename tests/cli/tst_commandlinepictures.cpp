#include "data/DataFileReader.h"
#include "export/ImageSize.h"
#include "export/TimeAxisFooter.h"
#include "graph/StackedGraph.h"
#include "support/FakeDialogs.h"
#include "support/PictureCompare.h"
#include "support/ProgramRun.h"
#include "support/TestFiles.h"
#include "widgets/StackedGraphWidget.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ProgramRun;

namespace {

const QString example = exampleDataFile();

} // namespace

// The pictures --export writes: their frames and sizes, the defaults, extreme data, a failed write.
class CommandLinePicturesTest : public QObject {
    Q_OBJECT
private slots:
    // An exact image size is filled by the graph, or, with a width of the graph's own, centred.
    void imageSizeFillsTheFrame_data() {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide frame") << QString() << QSize(1600, 900);
        QTest::newRow("tall frame") << QString() << QSize(300, 900);
        QTest::newRow("narrow graph, centred") << QStringLiteral("1000") << QSize(1600, 900);
        QTest::newRow("wide graph, centred") << QStringLiteral("90000") << QSize(1600, 900);
    }
    void imageSizeFillsTheFrame() {
        QFETCH(QString, width);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("graph.png"));
        QStringList arguments = {QStringLiteral("--export"),     out,
                                 QStringLiteral("--image-size"), ImageSize::text(size),
                                 QStringLiteral("--baseline"),   QStringLiteral("symmetric")};
        if (!width.isEmpty())
            arguments << QStringLiteral("--width") << width;
        QCOMPARE(run(arguments << example).exitCode, 0);
        const QRect area = paintedArea(QImage(out));
        const QMargins margins(area.left(), area.top(), size.width() - 1 - area.right(),
                               size.height() - 1 - area.bottom());
        // The scene rectangle is 1 % higher than the stack, half of it above and half below.
        const int few = size.height() / 100 / 2 + 2;
        QVERIFY2(qAbs(margins.left() - margins.right()) <= 2 && qAbs(margins.top() - margins.bottom()) <= 2,
                 qPrintable(QStringLiteral("painted %1,%2 %3x%4")
                                .arg(area.x())
                                .arg(area.y())
                                .arg(area.width())
                                .arg(area.height())));
        if (width.isEmpty())
            QVERIFY(margins.left() <= 2 && margins.top() <= few);
        else
            QVERIFY(margins.left() > 100 || margins.top() > 100);
    }

    void exportRendersAnImage() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("graph.png"));
        Run result =
            run({QStringLiteral("--export"), out, QStringLiteral("--image-size"), QStringLiteral("800x300"),
                 QStringLiteral("--baseline"), QStringLiteral("symmetric"), QStringLiteral("--scheme"),
                 QStringLiteral("red blood"), example});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.err, QByteArray()); // a success says nothing on standard error
        QImage image(out);
        QCOMPARE(image.size(), QSize(800, 300));

        result = run({QStringLiteral("--export"), out, QStringLiteral("--size"), QStringLiteral("0"),
                      QStringLiteral("--transparent"), example});
        QCOMPARE(result.exitCode, 0);
        image = QImage(out);
        QCOMPARE(image.width(), 320 * 121 / 4);
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
    }

    // The axis and the scale come in rows of their own: the graph's rows are those of the export without
    // them, at the size asked for.
    void timeAxisAddsRowsBelowTheGraph() {
        QTemporaryDir dir;
        const QStringList options = {QStringLiteral("--image-size"), QStringLiteral("1600x240"),
                                     QStringLiteral("--transparent"), example};
        const QString plainFile = dir.filePath(QStringLiteral("plain.png"));
        const QString axisFile = dir.filePath(QStringLiteral("axis.png"));
        QCOMPARE(run(QStringList{QStringLiteral("--export"), plainFile} + options).exitCode, 0);
        QCOMPARE(
            run(QStringList{QStringLiteral("--export"), axisFile, QStringLiteral("--time-axis")} + options)
                .exitCode,
            0);
        const QImage plain(plainFile);
        const QImage axis(axisFile);
        QCOMPARE(axis.size(), QSize(1600, 240 + TimeAxisFooter::rows()));
        QCOMPARE(axis.copy(plain.rect()), plain);
        const int text = darkPixels(axis, QRect(0, 240, 1600, TimeAxisFooter::rows()));
        QVERIFY2(text > 500, qPrintable(QString::number(text)));
    }

    void failedExportKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString out = writeTestFile(dir, QStringLiteral("old.png"), "old bytes");
        // An image this large cannot be allocated: refused before anything is written.
        const Run result = run({QStringLiteral("--export"), out, QStringLiteral("--image-size"),
                                QStringLiteral("900000x900000"), example});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(!result.err.isEmpty());
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old bytes"));
    }

    // The command line without options draws what the control panel exports at start.
    void defaultsAreThePanelsStartState() {
        const DataFileResult read = DataFileReader::readFile(example);
        QVERIFY(read.ok());
        const DataSet& data = read.data;
        QWidget parent;
        StackedGraphWidget panel(&data.series, &data.unitText, &data.unitAfterValue, &data.magnitudeSuffixes,
                                 &parent);
        QTemporaryDir dir;
        FakeDialogs dialogs;
        dialogs.saveAnswer = dir.filePath(QStringLiteral("panel.png"));
        QPushButton* button = nullptr;
        for (QPushButton* candidate : panel.findChildren<QPushButton*>())
            if (candidate->text() == QStringLiteral("Export Graph to Image"))
                button = candidate;
        QVERIFY(button);
        // A quarter of a pixel a scene unit, the smallest of the sizes it offers.
        panel.imageSizeBox->setCurrentIndex(0);
        button->click();
        const QString batch = dir.filePath(QStringLiteral("batch.png"));
        QCOMPARE(
            run({QStringLiteral("--export"), batch, QStringLiteral("--size"), QStringLiteral("0"), example})
                .exitCode,
            0);
        const QImage expected(dialogs.saveAnswer);
        QCOMPARE(expected.size(),
                 QSize(320 * 121 / 4, ImageSize::truncated(panel.stackedGraph->graphHeight) / 4));
        QCOMPARE(QImage(batch), expected);
    }

    // Without a size, a picture any viewer opens, filled by the graph, its footer included.
    void defaultPictureIsAScreen_data() {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("plain") << QStringList();
        QTest::newRow("time axis") << QStringList{QStringLiteral("--time-axis")};
    }
    void defaultPictureIsAScreen() {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("graph.png"));
        QCOMPARE(run(QStringList{QStringLiteral("--export"), out} + options + QStringList{example}).exitCode,
                 0);
        const QImage image(out);
        QCOMPARE(image.size(), QSize(1920, 1080));
        QCOMPARE(paintedArea(image.copy(0, 0, 1920, options.isEmpty() ? 1080 : 1080 - TimeAxisFooter::rows()))
                     .width(),
                 1920);
    }

    // Every numeric option at its extremes is drawn or refused with one clear line; none ends in a signal.
    void extremeValuesAreDrawnOrRefused_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        const auto row = [](const char* name, QStringList options, int exitCode) {
            QTest::newRow(name) << options << exitCode;
        };
        const QString width = QStringLiteral("--width");
        const QString imageSize = QStringLiteral("--image-size");
        const QString size = QStringLiteral("--size");
        row("width 0", {width, QStringLiteral("0")}, 2);
        row("width -1", {width, QStringLiteral("-1")}, 2);
        row("width 1e6", {width, QStringLiteral("1e6")}, 0);
        row("width 1e9", {width, QStringLiteral("1000000000")}, 0);
        row("width 2e9", {width, QStringLiteral("2e9")}, 0);
        row("width 2e9 at one pixel a unit", {width, QStringLiteral("2e9"), size, QStringLiteral("2")}, 1);
        row("width 1e300", {width, QStringLiteral("1e300")}, 2);
        row("width abc", {width, QStringLiteral("abc")}, 2);
        row("image 0x0", {imageSize, QStringLiteral("0x0")}, 2);
        row("image 1x1", {imageSize, QStringLiteral("1x1")}, 0);
        row("image 100000x100000", {imageSize, QStringLiteral("100000x100000")}, 1);
        row("image 65536x1", {imageSize, QStringLiteral("65536x1")}, 0);
        row("size -1", {size, QStringLiteral("-1")}, 2);
        row("size 5", {size, QStringLiteral("5")}, 2);
        const QString seconds = QStringLiteral("--order-seconds");
        const QString optimized[] = {QStringLiteral("--sort"), QStringLiteral("optimized")};
        row("order seconds 0", {seconds, QStringLiteral("0"), optimized[0], optimized[1]}, 2);
        row("order seconds nan", {seconds, QStringLiteral("nan"), optimized[0], optimized[1]}, 2);
        row("order seconds 1e9", {seconds, QStringLiteral("1e9"), optimized[0], optimized[1]}, 2);
        row("order seconds 0.001", {seconds, QStringLiteral("0.001"), optimized[0], optimized[1]}, 0);
    }
    void extremeValuesAreDrawnOrRefused() {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("graph.png"));
        const Run result = run(QStringList{QStringLiteral("--export"), out} + options + QStringList{example});
        QCOMPARE(result.exitCode, exitCode);
        if (exitCode == 0) {
            QVERIFY(!QImage(out).isNull());
            QCOMPARE(result.err, QByteArray());
        } else {
            QVERIFY(!QFile::exists(out));
            const QByteArray message = result.err.left(result.err.indexOf('\n'));
            QVERIFY2(message.contains(options.first().toUtf8()) || message.contains("Cannot create an image"),
                     message.constData());
        }
    }
};

QTEST_MAIN(CommandLinePicturesTest)
#include "tst_commandlinepictures.moc"
