#include "data/DataFileReader.h"

#include "support/DataSetText.h"

#include <QRandomGenerator>
#include <QTest>

// Files made to break the reader. Each must load what the reading sequence gives, or be refused
// with a message, without crashing and in time and memory proportional to its size.
namespace {

const QByteArray header = "[\"\"|]{";

void checkLoadsOrRefuses(const DataFileResult& result) {
    if (result.ok())
        QCOMPARE(invariantFault(result.data), QString());
    else
        QVERIFY(result.data.series.isEmpty());
}

} // namespace

class HostileFilesTest : public QObject {
    Q_OBJECT
private slots:
    void binaryJunk() {
        QRandomGenerator random(31337);
        for (int n = 0; n < 200; ++n) {
            QByteArray junk(qsizetype(random.bounded(1, 20000)), Qt::Uninitialized);
            for (char& c : junk)
                c = char(random.bounded(256));
            checkLoadsOrRefuses(DataFileReader::readBytes(junk));
            checkLoadsOrRefuses(DataFileReader::readBytes(header + "{\"S\"{" + junk));
        }
    }

    void nulBytes() {
        static const char raw[] = "[\"E\0R\"|\"\0\"]{{\"A\0B\"{(2008,1,\0 5)(2008,2,7)(20\00008,3,1)}}}";
        const QByteArray file(raw, sizeof raw - 1);
        const DataFileResult result = DataFileReader::readBytes(file);
        QVERIFY(result.ok());
        QCOMPARE(result.data.unitText, QString::fromLatin1("E\0R", 3));
        QCOMPARE(result.data.magnitudeSuffixes.value(0), QString(QChar(0)));
        QCOMPARE(result.data.series.size(), 1);
        QCOMPARE(result.data.series[0].name, QString::fromLatin1("A\0B", 3));
        // A NUL ends a number like any other byte that does not fit; (20\0 08,3,1) has year 20.
        QCOMPARE(result.data.series[0].points.first().year, 20);
        QCOMPARE(result.data.series[0].points.last().value, 7.0);
    }

    // About 20 MB of one delimiter, alone and after a header; bigger files are for the benchmark.
    void repeatedDelimiter_data() {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<QByteArray>("unit");
        for (const char* unit : {"[", "]", "{", "}", "(", ")", "\"", ",", "|", "()", "(1)",
                                 "{\"\"{(1,1,1)(1,2,2)}", " ", "\n"}) {
            QTest::addRow("bare %s", unit) << QByteArray() << QByteArray(unit);
            QTest::addRow("after header %s", unit) << header << QByteArray(unit);
        }
    }
    void repeatedDelimiter() {
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, unit);
        const QByteArray file = prefix + unit.repeated(20'000'000 / unit.size());
        const DataFileResult result = DataFileReader::readBytes(file);
        checkLoadsOrRefuses(result);
        QVERIFY(result.data.magnitudeSuffixes.size() <= DataFileReader::maxSuffixes);
    }

    void manyQuotesKeepFewSuffixes() {
        const DataFileResult result = DataFileReader::readBytes("[\"\"|" + QByteArray(1'000'000, '"') + "]");
        QCOMPARE(result.data.magnitudeSuffixes.size(), DataFileReader::maxSuffixes);
    }

    void manySeriesOfOneRepeatedEntry() {
        // Two million entries, nearly all dropped: only those kept may cost memory.
        const QByteArray file =
            header + QByteArray("{\"\"{}").repeated(2'000'000) + "{\"Last\"{(1,1,1)(1,2,2)}";
        const DataFileResult result = DataFileReader::readBytes(file);
        QVERIFY(result.ok());
        QCOMPARE(result.seriesRead, 2'000'001);
        QCOMPARE(result.droppedSeries, 2'000'000);
        QCOMPARE(result.data.series.size(), 1);
    }

    void tenMegabyteName() {
        const QByteArray name(10'000'000, 'n');
        DataFileResult result =
            DataFileReader::readBytes(header + "{\"" + name + "\"{(2008,1,1)(2008,2,2)}}}");
        QVERIFY(result.ok());
        QCOMPARE(result.data.series[0].name.size(), name.size());

        // Messages name the series but stay short.
        result = DataFileReader::readBytes(header + "{\"" + name + "\"{(2008,1,1)(2008,2,1e999)}}}");
        QVERIFY(!result.ok());
        QVERIFY2(result.error.size() < 300, qPrintable(result.error.left(300)));
        QVERIFY(result.error.contains(QStringLiteral("nnnnnnnnnn")));
    }

    void hundredThousandSeries() {
        QByteArray file = "[\"\" | \"\" \" k\"]\n{\n";
        for (int k = 0; k < 100'000; ++k) {
            const int start = 2000 + (99'999 - k) % 50;
            file += "{ \"Series " + QByteArray::number(k) + "\" { (" + QByteArray::number(start) + ",1,1) (" +
                    QByteArray::number(start) + ",3," + QByteArray::number(k) + ") } }\n";
        }
        const DataFileResult result = DataFileReader::readBytes(file + "}");
        QVERIFY(result.ok());
        QCOMPARE(result.data.series.size(), 100'000);
        QCOMPARE(invariantFault(result.data), QString());
        // Same first month: file order is kept. Series 49, 99, 149, ... start in 2000.
        QCOMPARE(result.data.series[0].name, QStringLiteral("Series 49"));
        QCOMPARE(result.data.series[1].name, QStringLiteral("Series 99"));
        QCOMPARE(result.data.series[0].points[1].value, 1 + 0.5 * (49 - 1));
    }

    void everyValueZero() {
        QByteArray file = header;
        for (int k = 0; k < 50; ++k)
            file += "{\"S" + QByteArray::number(k) + "\"{(2000,1,0)(2001,6,0.0)(2003,1,-0)(2003,2,-5)}}";
        const DataFileResult result = DataFileReader::readBytes(file);
        QVERIFY(result.ok());
        QCOMPARE(result.data.series.size(), 50);
        for (const DataSeries& s : result.data.series) {
            QCOMPARE(s.points.size(), 3 * 12 + 2);
            for (const DataPoint& p : s.points)
                QVERIFY(p.value == 0.0 && !std::signbit(p.value));
        }
    }

    // Each series is allowed, but filling them all would need far too many points.
    void tooManyPointsAltogether() {
        QByteArray file = header;
        for (int k = 0; k < 500; ++k)
            file += "{\"S\"{(0,1,0)(10000,1,1)}}";
        const DataFileResult result = DataFileReader::readBytes(file);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(QStringLiteral("60000500 points")), qPrintable(result.error));
    }

    void extremeYearsAndMonths() {
        const DataFileResult years = DataFileReader::readBytes(
            header +
            "{\"Top\"{(2147483648,11,1)(2147483647,12,2)}} {\"Bottom\"{(-2147483649,1,1)(-2147483648,2,2)}}");
        QVERIFY(!years.ok());
        QVERIFY2(years.error.contains(QStringLiteral("\"Bottom\"")) &&
                     years.error.contains(QStringLiteral("\"Top\"")),
                 qPrintable(years.error));

        const DataFileResult top =
            DataFileReader::readBytes(header + "{\"Top\"{(2147483648,11,1)(2147483647,12,2)}}");
        QVERIFY(top.ok());
        QCOMPARE(top.data.series[0].points.last().year, 2147483647);
        QCOMPARE(top.data.series[0].points.last().month, 12);
    }
};

QTEST_GUILESS_MAIN(HostileFilesTest)
#include "tst_hostilefiles.moc"
