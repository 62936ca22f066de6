#include "data/DataFileReader.h"
#include "export/ImageSize.h"
#include "export/TimeAxisFooter.h"
#include "graph/StackedGraph.h"
#include "support/FakeDialogs.h"
#include "support/PictureCompare.h"
#include "support/TestFiles.h"
#include "widgets/StackedGraphWidget.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString program = QStringLiteral(STACKEDGRAPH_BINARY_DIR "/src/stackedgraph");
const QString example = exampleDataFile();

const QByteArray workedExample = "[ \"EUR\", false | \"\" \" k\" \" M\" ]\n"
                                 "{\n"
                                 "  { \"Alpha\" { (2008,1,1500) (2008,2,2500.5) (2008,4,1000) } }\n"
                                 "  { \"Beta\"  { (2008,1,40), (2007,11,20) } }\n"
                                 "  { \"Gamma\" { (2008,3,7) } }\n"
                                 "}\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// The smallest rectangle holding every pixel that is not white.
QRect paintedArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void toCsvOfTheWorkedExample() {
        QTemporaryDir dir;
        const Run result =
            run({QStringLiteral("--to-csv"), writeTestFile(dir, QStringLiteral("w.data"), workedExample)});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("series,year,month,value\n"
                                        "Beta,2007,11,20\n"
                                        "Beta,2007,12,30\n"
                                        "Beta,2008,1,40\n"
                                        "Alpha,2008,1,1500\n"
                                        "Alpha,2008,2,2500.5\n"
                                        "Alpha,2008,3,1750.25\n"
                                        "Alpha,2008,4,1000\n"));
    }

    void infoSummarises() {
        const Run result = run({QStringLiteral("--info"), example});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("14"));
        QVERIFY(result.out.contains("2000."));
        QVERIFY(result.out.contains("2010."));
    }

    void errorsAndUsage() {
        QTemporaryDir dir;
        Run result = run({QStringLiteral("--info"), dir.filePath(QStringLiteral("missing.data"))});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.err.contains("missing.data"));
        result = run({QStringLiteral("--info")});
        QCOMPARE(result.exitCode, 2);
        result = run({QStringLiteral("--info"), QStringLiteral("--to-csv"), example});
        QCOMPARE(result.exitCode, 2);
        result = run({QStringLiteral("--export"), dir.filePath(QStringLiteral("x.png")),
                      QStringLiteral("--sort"), QStringLiteral("sideways"), example});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.contains("onset-time"));
        result = run({QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("--export"));
        result = run({QStringLiteral("--export"), dir.filePath(QStringLiteral("x.gif")), example});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.err.contains(".png, .jpg, .jpeg, .svg or .pdf"));
        result = run({QStringLiteral("--export"), dir.filePath(QStringLiteral("x.jpg")),
                      QStringLiteral("--transparent"), example});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(QDir(dir.path()).isEmpty());
    }

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

    void csvInBatchModes() {
        QTemporaryDir dir;
        const Run data = run({QStringLiteral("--to-csv"), example});
        const Run csv =
            run({QStringLiteral("--to-csv"), writeTestFile(dir, QStringLiteral("x.CSV"), data.out)});
        QCOMPARE(csv.exitCode, 0);
        QCOMPARE(csv.out, data.out);
        const Run info = run({QStringLiteral("--info"),
                              writeTestFile(dir, QStringLiteral("d.csv"),
                                            "series,date,value\nS,2008-01,1\n\nS,2008-01,2\nS,2008-01-31,3\n"
                                            "S,2008-02,4\nT,2008-01,\n")});
        QVERIFY2(
            info.out.endsWith("Dropped series (fewer than two points): 1 of 2 read\n"
                              "Table: separated by commas\n"
                              "Dates: \"date\"\n"
                              "Series: named by \"series\"\n"
                              "Values: \"value\"\n"
                              "Rows read: 5\n"
                              "Binned: 4 values from 5 rows went into 2 months; 1 month shared by 3 values "
                              "combined by sum.\n"
                              "Cells with no value (empty, NA, null, ...): 1\n"),
            info.out.constData());
        const Run bad = run({QStringLiteral("--export"), dir.filePath(QStringLiteral("x.svg")),
                             writeTestFile(dir, QStringLiteral("bad.tsv"), "date\tA\n2008-01\tx\n")});
        QCOMPARE(bad.exitCode, 1);
        QVERIFY(bad.err.contains("Line 2, column 2"));
    }

    // The import options reach every mode that reads a file; wrong ones are refused before any reading.
    void importOptions_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("by default, sums") << QStringList{QStringLiteral("--to-csv")} << 0
                                          << QByteArray("series,year,month,value\nn,2000,1,6\nn,2000,2,5\n");
        QTest::newRow("mean, columns by number")
            << QStringList{QStringLiteral("--to-csv"), QStringLiteral("--aggregate"),
                           QStringLiteral("mean"),     QStringLiteral("--date-column"),
                           QStringLiteral("2"),        QStringLiteral("--value-column=1")}
            << 0 << QByteArray("series,year,month,value\nn,2000,1,2\nn,2000,2,5\n");
        QTest::newRow("info says what was left out")
            << QStringList{QStringLiteral("--info"), QStringLiteral("--skip-rows"), QStringLiteral("1")} << 0
            << QByteArray("Rows above the header left out: 1 (\"notes\")\n");
        QTest::newRow("an unknown rule")
            << QStringList{QStringLiteral("--info"), QStringLiteral("--aggregate=median")} << 2
            << QByteArray("--aggregate must be one of: sum, mean, min, max, first, last");
        QTest::newRow("rows below zero")
            << QStringList{QStringLiteral("--info"), QStringLiteral("--skip-rows=-1")} << 2
            << QByteArray("--skip-rows must be a number of rows");
        QTest::newRow("an unknown order")
            << QStringList{QStringLiteral("--info"), QStringLiteral("--date-order"), QStringLiteral("ymd")}
            << 2 << QByteArray("--date-order must be one of: auto, day-first, month-first");
    }
    void importOptions() {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        QTemporaryDir dir;
        const Run result =
            run(options << writeTestFile(dir, QStringLiteral("n.csv"),
                                         "notes\nn,date\n1,2000-01-01\n2,2000-01-02\n3,2000-01-03\n"
                                         "5,2000-02-01\n"));
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2((exitCode == 0 ? result.out : result.err).contains(output), result.out + result.err);
    }

    // --hide works in every batch mode, names what it did not find, and --info says what it hid.
    void hideLeavesSeriesOut_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("has");
        QTest::addColumn<QByteArray>("hasNot");
        const QString hide = QStringLiteral("--hide");
        QTest::newRow("info") << QStringList{QStringLiteral("--info"), hide, QStringLiteral("Beta")} << 0
                              << QByteArray("read\nHidden series: 1 of 2: \"Beta\"\n") << QByteArray();
        QTest::newRow("to-csv") << QStringList{QStringLiteral("--to-csv"), hide, QStringLiteral("Beta")} << 0
                                << QByteArray("Alpha") << QByteArray("Beta");
        QTest::newRow("layers") << QStringList{QStringLiteral("--export-layers"), QStringLiteral("-"), hide,
                                               QStringLiteral("Alpha")}
                                << 0 << QByteArray("Beta") << QByteArray("Alpha");
        QTest::newRow("metrics") << QStringList{QStringLiteral("--metrics"), hide, QStringLiteral("Alpha")}
                                 << 0 << QByteArray("baseline,sort") << QByteArray();
        QTest::newRow("unknown names")
            << QStringList{QStringLiteral("--info"), hide, QStringLiteral("Alpha"), hide,
                           QStringLiteral("beta"),   hide, QStringLiteral("Zeta")}
            << 2 << QByteArray("no series is named \"beta\", \"Zeta\"") << QByteArray("Hidden");
    }
    void hideLeavesSeriesOut() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, has);
        QFETCH(QByteArray, hasNot);
        QTemporaryDir dir;
        const Run result = run(arguments << writeTestFile(dir, QStringLiteral("w.data"), workedExample));
        QCOMPARE(result.exitCode, exitCode);
        const QByteArray all = result.out + result.err;
        QVERIFY2(all.contains(has), all.constData());
        QVERIFY2(hasNot.isEmpty() || !all.contains(hasNot), all.constData());
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

    // One row per label drawn, in the default mode too.
    void exportLabels() {
        const Run classic = run({QStringLiteral("--export-labels"), QStringLiteral("-"), example});
        QCOMPARE(classic.exitCode, 0);
        QVERIFY(classic.out.startsWith("layer,series,text,pixel_size,x,y,width,height\n"));
        QCOMPARE(classic.out.count('\n'), 1 + 14);
        QCOMPARE(run({QStringLiteral("--export-labels"), QStringLiteral("-"), QStringLiteral("--labels"),
                      QStringLiteral("sideways"), example})
                     .exitCode,
                 2);
    }

    void metricsRateEveryPair() {
        const Run result = run({QStringLiteral("--metrics"), example});
        QCOMPARE(result.exitCode, 0);
        const QList<QByteArray> rows = result.out.trimmed().split('\n');
        QCOMPARE(rows.size(), 1 + 16);
        QCOMPARE(rows.first(), QByteArray("baseline,sort,wiggle,weighted_wiggle"));
        QVERIFY(rows[1].startsWith("x-axis,onset-time,"));
        QVERIFY(rows[12].startsWith("baseline,optimized,"));
        QVERIFY(rows[16].startsWith("percent,optimized,"));
        // The searched order is the smoothest by what it minimises, in value units and in percent.
        QVERIFY2(result.err.contains("Smoothest by weighted wiggle: symmetric + optimized\n") &&
                     result.err.contains("Smoothest by weighted wiggle in percent: percent + optimized\n"),
                 result.err.constData());
        const Run one = run({QStringLiteral("--metrics"), QStringLiteral("--baseline"),
                             QStringLiteral("symmetric"), example});
        QCOMPARE(one.out.trimmed().split('\n').mid(1), rows.mid(5, 4));
        QVERIFY(one.err.contains("Smoothest by weighted wiggle: symmetric + optimized\n"));
        QVERIFY(!one.err.contains("in percent"));
        for (const QByteArray& row : rows.mid(1)) {
            const QList<QByteArray> fields = row.split(',');
            QCOMPARE(fields.size(), 4);
            bool ok = false;
            QVERIFY(fields[2].toDouble(&ok) >= 0.0 && ok);
            QVERIFY(fields[3].toDouble(&ok) >= 0.0 && ok);
        }
        QVERIFY(result.err.contains("Smoothest by wiggle: "));
        QVERIFY(result.err.contains("Smoothest by weighted wiggle: "));
    }

    void exportLayersMatchesTheStack() {
        QTemporaryDir dir;
        const QString data = writeTestFile(dir, QStringLiteral("w.data"), workedExample);
        const Run result =
            run({QStringLiteral("--export-layers"), QStringLiteral("-"), QStringLiteral("--baseline"),
                 QStringLiteral("x-axis"), QStringLiteral("--sort"), QStringLiteral("onset-time"), data});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("layer,series,year,month,bottom,top\n"
                                        "0,Beta,2007,11,0,20\n"
                                        "0,Beta,2007,12,0,30\n"
                                        "0,Beta,2008,1,0,40\n"
                                        "1,Alpha,2008,1,40,1540\n"
                                        "1,Alpha,2008,2,0,2500.5\n"
                                        "1,Alpha,2008,3,0,1750.25\n"
                                        "1,Alpha,2008,4,0,1000\n"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
