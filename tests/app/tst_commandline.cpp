#include "support/TestFiles.h"

#include <QImage>
#include <QProcess>
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

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
