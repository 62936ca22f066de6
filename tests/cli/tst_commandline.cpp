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

// The batch modes that write text: summaries, tables, layers, labels, metrics, and their errors.
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

    // Summaries and tables start no platform at all: one that does not exist does not stop them.
    void infoSummarises() {
        const QString none = QStringLiteral("no-such-platform");
        const Run result = run({QStringLiteral("--info"), example}, none);
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("14"));
        QVERIFY(result.out.contains("2000."));
        QVERIFY(result.out.contains("2010."));
        QCOMPARE(run({QStringLiteral("--to-csv"), example}, none).exitCode, 0);
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
