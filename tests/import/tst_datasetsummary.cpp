#include "data/DataFileReader.h"
#include "import/DataSetSummary.h"

#include <QTest>

class DataSetSummaryTest : public QObject {
    Q_OBJECT
private slots:
    void describesTheWorkedExample() {
        const DataFileResult result =
            DataFileReader::readBytes("[ \"EUR\", false | \"\" \" k\" \" M\" ]\n{\n"
                                      "  { \"Alpha\" { (2008,1,1500) (2008,2,2500.5) (2008,4,1000) } }\n"
                                      "  { \"Beta\"  { (2008,1,40), (2007,11,20) } }\n"
                                      "  { \"Gamma\" { (2008,3,7) } }\n}\n");
        QCOMPARE(DataSetSummary::describe(result),
                 QStringLiteral("Unit: \"EUR\", before the value\n"
                                "Suffixes: \"\" \" k\" \" M\"\n"
                                "Series: 2\n"
                                "Months: 2007.11 to 2008.04\n"
                                "Points: 7\n"
                                "Dropped series (fewer than two points): 1 of 3 read\n"));
    }

    void describesAnEmptyFile() {
        QCOMPARE(DataSetSummary::describe(DataFileReader::readBytes(QByteArray())),
                 QStringLiteral("Unit: \"\", after the value\n"
                                "Suffixes: none\n"
                                "Series: 0\n"
                                "Months: none\n"
                                "Points: 0\n"
                                "Dropped series (fewer than two points): 0 of 0 read\n"));
    }

    // The month range spans all series, not just the first and last in order.
    void monthRangeCoversEverySeries() {
        const DataFileResult result = DataFileReader::readBytes(
            "[\"\"|]{ {\"Long\" {(2000,1,1)(2010,6,1)}} {\"Short\" {(2001,1,1)(2001,3,1)}} }");
        QVERIFY(DataSetSummary::describe(result).contains(QStringLiteral("Months: 2000.01 to 2010.06\n")));
    }

    void textsAreEscapedAndShortened() {
        const DataFileResult result = DataFileReader::readBytes("[\"a\\b\tc\nd\x01\"|\"\\\"]");
        QVERIFY(result.ok());
        const QString summary = DataSetSummary::describe(result);
        QVERIFY2(summary.startsWith(QStringLiteral("Unit: \"a\\\\b\\tc\\nd\\x01\", after")),
                 qPrintable(summary));

        const QString longUnit = DataSetSummary::describe(DataFileReader::readBytes(QByteArray(5000, 'x')));
        QVERIFY2(longUnit.startsWith(QStringLiteral("Unit: \"") + QString(80, QLatin1Char('x')) +
                                     QStringLiteral("\"... (5000 characters), after")),
                 qPrintable(longUnit));
    }

    void reportsErrors() {
        const DataFileResult result = DataFileReader::readFile(QStringLiteral("/nonexistent/x.data"));
        const QString summary = DataSetSummary::describe(result);
        QVERIFY(summary.startsWith(QStringLiteral("Error: Cannot open \"/nonexistent/x.data\"")));
        QCOMPARE(summary.count(QLatin1Char('\n')), 1);
    }
};

QTEST_GUILESS_MAIN(DataSetSummaryTest)
#include "tst_datasetsummary.moc"
