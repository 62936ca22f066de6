#include "data/DataFileReader.h"
#include "export/DataSetCsv.h"
#include "import/CsvReader.h"
#include "import/DataLoader.h"
#include "support/DataSetText.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

QByteArray toCsv(const DataSet& data) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    DataSetCsv::write(data, buffer);
    return bytes;
}

// Series with gaps, duplicate-free months, awkward names and values of every size, in a fixed
// pseudo-random sequence.
DataSet generatedData() {
    QRandomGenerator random(15);
    DataSet data;
    const QString names[] = {QStringLiteral("plain"),           QStringLiteral("with, comma"),
                             QStringLiteral("\"quoted\" name"), QStringLiteral("\u00e9t\u00e9 \u6771\u4eac"),
                             QStringLiteral(" spaced "),        QStringLiteral("line\nbreak")};
    for (const QString& name : names) {
        DataSeries series{name, {}};
        qint32 month = 12 * 1990 + random.bounded(240);
        for (int k = random.bounded(2, 40); k > 0; --k) {
            const double value = random.generateDouble() * std::pow(10.0, random.bounded(-300, 300));
            series.points.append(DataPoint{month / 12, month % 12 + 1, random.bounded(5) == 0 ? 0.0 : value});
            month += random.bounded(1, 5);
        }
        data.series.append(series);
    }
    return data;
}

} // namespace

class CsvReaderTest : public QObject {
    Q_OBJECT
private slots:
    void readsBothShapes_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<char>("delimiter");
        QTest::addColumn<QString>("series");
        QTest::newRow("long, year and month")
            << QByteArray("series,year,month,value\nB,2007,11,20\nA,2008,1,1500\n"
                          "B,2008,1,40\nA,2008,3,1000.5\n")
            << ','
            << "B: 2007.11=20 2007.12=30 2008.1=40 | "
               "A: 2008.1=1500 2008.2=1250.25 2008.3=1000.5";
        QTest::newRow("long, columns in any order, any case")
            << QByteArray("Value,DATE,Series\n1,2008-01,S\n3,2008-03,S\n") << ','
            << "S: 2008.1=1 2008.2=2 2008.3=3";
        QTest::newRow("wide, empty cells are no value")
            << QByteArray("date,A,B\n2008-01,1,\n2008-02,,5\n2008-03,3,7\n") << ','
            << "A: 2008.1=1 2008.2=2 2008.3=3 | B: 2008.2=5 2008.3=7";
        QTest::newRow("every date form")
            << QByteArray("date,S\n2008-01,1\n2008-02-29,2\n2008/03,3\n2008.4,4\n"
                          "2008.10,10\n")
            << ','
            << "S: 2008.1=1 2008.2=2 2008.3=3 2008.4=4 2008.5=5 2008.6=6 "
               "2008.7=7 2008.8=8 2008.9=9 2008.10=10";
        QTest::newRow("quoted names with commas, quotes and line breaks")
            << QByteArray("date,\"A, \"\"the\"\" first\",\"B\nsecond\"\n2008-01,1,2\n2008-02,3,4\n") << ','
            << "A, \"the\" first: 2008.1=1 2008.2=3 | B\nsecond: 2008.1=2 2008.2=4";
        QTest::newRow("UTF-8, BOM, CRLF, blank rows")
            << QByteArray("\xEF\xBB\xBF"
                          "date,\xC3\xA9t\xC3\xA9\r\n\r\n2008-01,1\r\n,\r\n2008-02,2\r\n")
            << ',' << QStringLiteral("\u00e9t\u00e9: 2008.1=1 2008.2=2");
        QTest::newRow("TSV keeps commas and trims spaces only")
            << QByteArray("date\ta,b\n 2008-01 \t 1.5e3\n2008-02\t-4\n") << '\t'
            << "a,b: 2008.1=1500 2008.2=0";
        QTest::newRow("points in one month are summed, short series dropped")
            << QByteArray("series,year,month,value\nS,2008,2,2\nS,2008,1,1\nS,2008,1,9\nT,2008,1,1\n") << ','
            << "S: 2008.1=10 2008.2=2";
    }
    void readsBothShapes() {
        QFETCH(QByteArray, file);
        QFETCH(char, delimiter);
        QFETCH(QString, series);
        const DataFileResult result = CsvReader::readBytes(file, delimiter);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(DataSetText::seriesText(result.data), series);
        QCOMPARE(DataSetText::headerText(result.data), QStringLiteral(" after <> <k> <M> <G> <T>"));
    }

    void refusesBadInput_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray("\xEF\xBB\xBF\n\n") << "The file is empty";
        QTest::newRow("one column") << QByteArray("date\n2008-01\n") << "No column of numbers";
        QTest::newRow("too many cells")
            << QByteArray("date,A\n2008-01,1\n\n2008-02,1,2\n")
            << "Line 4, column 3: the row has more cells than the header's 2 columns.";
        QTest::newRow("too few cells")
            << QByteArray("date,A,B\r\n2008-01,1\r\n") << "Line 2, column 3 (\"B\"): the row ends here";
        QTest::newRow("not a date") << QByteArray("date,A\n2008-13,1\n")
                                    << "Line 2, column 1 (\"date\"): \"2008-13\" is not a date";
        QTest::newRow("not a number") << QByteArray("\"da\nte\",A\n2008-01,1\n2008-02,abc\n")
                                      << "Line 4, column 2 (\"A\"): \"abc\" is not a number.";
        QTest::newRow("decimal comma")
            << QByteArray("date,A\n2008-01,\"1,5\"\n") << "Line 2, column 2 (\"A\"): \"1,5\" is not a number";
        QTest::newRow("too large") << QByteArray("date,A\n2008-01,1e999\n")
                                   << "Line 2, column 2 (\"A\"): \"1e999\" is too large";
        QTest::newRow("not a month") << QByteArray("series,year,month,value\nS,2008,0,1\n")
                                     << "Line 2, column 3 (\"month\"): \"0\" is not a month (1 to 12).";
        QTest::newRow("not a year") << QByteArray("series,year,month,value\nS,20o8,1,1\n")
                                    << "\"20o8\" is not a year.";
        QTest::newRow("stray quote") << QByteArray("date,A\n2008-01,1\"2\n")
                                     << "Line 2, column 2 (\"A\"): a quote inside";
        QTest::newRow("unclosed quote") << QByteArray("date,A\n2008-01,\"1\n")
                                        << "Line 2, column 2 (\"A\"): a quoted cell is never closed.";
        QTest::newRow("span") << QByteArray("series,year,month,value\nS,2008,1,1\nS,20008,1,1\n")
                              << "gaps of more than 120000 months";
    }
    void refusesBadInput() {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        const DataFileResult result = CsvReader::readBytes(file);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(result.data.series.isEmpty());
    }

    // What --to-csv writes reads back to the same series: values, names and months exactly.
    void roundTrip_data() {
        QTest::addColumn<QByteArray>("csv");
        const DataFileResult example = DataFileReader::readFile(exampleDataFile());
        QVERIFY(example.ok());
        QTest::newRow("example") << toCsv(example.data);
        DataSet generated = generatedData();
        QVERIFY(SeriesNormalizer::normalize(generated.series).isEmpty());
        QTest::newRow("generated") << toCsv(generated);
    }
    void roundTrip() {
        QFETCH(QByteArray, csv);
        const DataFileResult result = CsvReader::readBytes(csv);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(toCsv(result.data), csv);
    }

    void loaderChoosesTheReaderByExtension() {
        QTemporaryDir dir;
        const QByteArray csv("date,A\n2008-01,1\n2008-02,2\n");
        for (const char* name : {"a.csv", "b.CSV"})
            QCOMPARE(DataLoader::readFile(writeTestFile(dir, QLatin1String(name), csv)).data.series.size(),
                     1);
        const QByteArray tsv = QByteArray(csv).replace(',', '\t');
        QCOMPARE(DataLoader::readFile(writeTestFile(dir, QStringLiteral("c.Tsv"), tsv)).data.series.size(),
                 1);
        // Anything else is a data file, read as before: here without a single series.
        const DataFileResult asData = DataLoader::readFile(writeTestFile(dir, QStringLiteral("d.txt"), csv));
        QCOMPARE(asData.rowsRead, -1);
        QVERIFY(asData.ok() && asData.data.series.isEmpty());
        QVERIFY(DataLoader::readFile(dir.filePath(QStringLiteral("missing.csv")))
                    .error.contains(QStringLiteral("missing.csv")));
    }
};

QTEST_GUILESS_MAIN(CsvReaderTest)
#include "tst_csvreader.moc"
