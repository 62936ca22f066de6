#include "import/CsvReader.h"
#include "import/TableImport.h"
#include "support/DataSetText.h"
#include "table/CsvTable.h"
#include "table/JsonTable.h"

#include <QTest>

namespace {

// Options as "aggregate=mean;series=2": the keys are the command line's options without "-column".
ImportOptions optionsOf(const QString& text) {
    ImportOptions options;
    for (const QString& pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString key = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        if (key == QLatin1String("date"))
            options.dateColumn = value;
        else if (key == QLatin1String("series"))
            options.seriesColumn = value;
        else if (key == QLatin1String("value"))
            options.valueColumn = value;
        else if (key == QLatin1String("aggregate"))
            options.aggregate = ImportOptions::Aggregate(ImportOptions::aggregateNames().indexOf(value));
        else if (key == QLatin1String("order"))
            options.dateOrder = ImportOptions::DateOrder(ImportOptions::dateOrderNames().indexOf(value));
        else if (key == QLatin1String("skip"))
            options.skipRows = value.toInt();
    }
    return options;
}

ImportResult import(const QByteArray& file, const QString& options) {
    const SourceTable source = file.startsWith('[') ? JsonTable::read(file) : CsvTable::read(file);
    return TableImport::run(source, optionsOf(options));
}

} // namespace

class TableImportTest : public QObject {
    Q_OBJECT
private slots:
    // Tables as they are published, a few rows each: the series they give (values checked by hand) and
    // lines the report must hold.
    void readsRealShapes_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("report");
        QTest::newRow("symbol,date,price with month names")
            << QByteArray("symbol,date,price\nMSFT,Jan 1 2000,39.5\nMSFT,Feb 1 2000,36.25\n"
                          "AMZN,Jan 1 2000,64.75\nAMZN,Feb 1 2000,68.5\n")
            << ""
            << "MSFT: 2000.1=39.5 2000.2=36.25 | AMZN: 2000.1=64.75 2000.2=68.5"
            << "Series: named by \"symbol\"|Values: \"price\"";
        QTest::newRow("daily counts are summed into months")
            << QByteArray("location,date,vehicles\nA,2020-01-01,3\nA,2020-01-15,4\nA,2020-02-01,5\n") << ""
            << "A: 2020.1=7 2020.2=5"
            << "Binned: 3 values from 3 rows went into 2 months; 1 month shared by 2 values "
               "combined by sum.";
        QTest::newRow("a yearly series fills its years")
            << QByteArray("source,year,net_generation\nCoal,2000,0\nCoal,2001,12\n") << ""
            << "Coal: 2000.1=0 2000.2=1 2000.3=2 2000.4=3 2000.5=4 2000.6=5 2000.7=6 2000.8=7 2000.9=8 "
               "2000.10=9 "
               "2000.11=10 2000.12=11 2001.1=12"
            << "Dates: \"year\"";
        QTest::newRow("Entity,Code,Year,Deaths: the named text column")
            << QByteArray("Entity,Code,Year,Deaths\nFrance,FRA,1990,1\nFrance,FRA,1991,13\n") << ""
            << "France: 1990.1=1 1990.2=2 1990.3=3 1990.4=4 1990.5=5 1990.6=6 1990.7=7 1990.8=8 1990.9=9 "
               "1990.10=10 1990.11=11 1990.12=12 1991.1=13"
            << "Guessed: Series from \"Entity\", not \"Code\" (to change: --series-column)|"
               "Columns left out: \"Code\" (text)";
        QTest::newRow("format,group,year,revenue")
            << QByteArray("format,group,year,revenue\nLP,Vinyl,1980,2\nLP,Vinyl,1981,14\nCD,Disc,1980,1\nCD,"
                          "Disc,1981,"
                          "1\n")
            << "series=group;value=4"
            << "Vinyl: 1980.1=2 1980.2=3 1980.3=4 1980.4=5 1980.5=6 1980.6=7 1980.7=8 "
               "1980.8=9 1980.9=10 1980.10=11 1980.11=12 1980.12=13 1981.1=14 | Disc: "
               "1980.1=1 1980.2=1 1980.3=1 1980.4=1 1980.5=1 1980.6=1 1980.7=1 1980.8=1 "
               "1980.9=1 1980.10=1 1980.11=1 1980.12=1 1981.1=1"
            << "Series: named by \"group\"|Columns left out: \"format\" (text)";
        QTest::newRow("daily by mean, missing words are no value")
            << QByteArray(
                   "date,downloads\n2020-01-01,1\n2020-01-02,3\n2020-01-31,5\n2020-02-01,2\n2020-02-15,NA\n"
                   "2020-02-16,N/A\n2020-02-17,null\n2020-02-18,-\n2020-02-19,\n")
            << "aggregate=mean"
            << "downloads: 2020.1=3 2020.2=2"
            << "Cells with no value (empty, NA, null, ...): 5|combined by mean";
        QTest::newRow("min") << QByteArray("date,A\n2020-01-01,4\n2020-01-02,1\n2020-02-01,2\n")
                             << "aggregate=min"
                             << "A: 2020.1=1 2020.2=2"
                             << "";
        QTest::newRow("max") << QByteArray("date,A\n2020-01-01,4\n2020-01-02,1\n2020-02-01,2\n")
                             << "aggregate=max"
                             << "A: 2020.1=4 2020.2=2"
                             << "";
        QTest::newRow("first in the file, rows out of order")
            << QByteArray("date,A\n2020-02-01,2\n2020-01-09,4\n2020-01-02,1\n") << "aggregate=first"
            << "A: 2020.1=4 2020.2=2"
            << "";
        QTest::newRow("last") << QByteArray("date,A\n2020-01-09,4\n2020-01-02,1\n2020-02-01,2\n")
                              << "aggregate=last"
                              << "A: 2020.1=1 2020.2=2"
                              << "";
        QTest::newRow("hourly ISO times with zones")
            << QByteArray(
                   "time,load\n2020-12-31T23:00Z,1\n2021-01-01T00:00:00+01:00,2\n2021-01-01T01:10:41.5Z,3\n")
            << ""
            << "load: 2020.12=1 2021.1=5"
            << "";
        QTest::newRow("notes above, semicolons, decimal commas, a text column")
            << QByteArray("\"Population by region\"\nUnit:;persons\n\ndate;North;South;weather\n"
                          "01.01.2020;1.234,5;2,5;sun\n01.02.2020;1.300;-;rain\n01.03.2020;1.350,25;3;sun\n")
            << ""
            << "North: 2020.1=1234.5 2020.2=1300 2020.3=1350.25 | South: 2020.1=2.5 2020.2=2.75 2020.3=3"
            << "Rows above the header left out: 2|separated by semicolons, decimal commas|"
               "Columns left out: \"weather\" (text)|--series-column \"weather\"";
        QTest::newRow("YYYYMM with annual totals")
            << QByteArray("YYYYMM,Value\n194911,1\n194912,2\n194913,30\n195001,3\n") << ""
            << "Value: 1949.11=1 1949.12=2 1950.1=3"
            << "Annual totals skipped (month 13 of YYYYMM): 1 row";
        QTest::newRow("quarters") << QByteArray("period,A\n2001-Q3,3\n2001 Q4,6\n") << ""
                                  << "A: 2001.7=3 2001.8=4 2001.9=5 2001.10=6"
                                  << "";
        QTest::newRow("day first, shown by a day above 12")
            << QByteArray("date,A\n05/01/2020,1\n13/02/2020,2\n") << ""
            << "A: 2020.1=1 2020.2=2"
            << "Date order: day/month/year, as \"13/02/2020\" on line 3 shows";
        QTest::newRow("month first") << QByteArray("date,A\n01/13/2020,1\n02/01/2020,2\n") << ""
                                     << "A: 2020.1=1 2020.2=2"
                                     << "month/day/year";
        QTest::newRow("an order said outright")
            << QByteArray("date,A\n01/02/2020,1\n01/03/2020,2\n") << "order=day-first"
            << "A: 2020.2=1 2020.3=2"
            << "";
        QTest::newRow("year and month columns, month names")
            << QByteArray("series,year,month,value\nA,2000,Jan,1\nA,2000,February,2\n") << ""
            << "A: 2000.1=1 2000.2=2"
            << "Dates: years from \"year\", months from \"month\"";
        QTest::newRow("a bare year in the first, unnamed column")
            << QByteArray(",Coal,Gas\n1990,1,2\n1991,13,14\n") << ""
            << ""
            << "Series: one a column, \"Coal\", \"Gas\"";
        QTest::newRow("JSON records")
            << QByteArray("[{\"series\": \"A\", \"date\": \"2000-01-01\", \"count\": 5},"
                          "{\"series\": \"A\", \"date\": \"2000-01-20\", \"count\": 2},"
                          "{\"series\": \"A\", \"date\": \"2000-02-01\", \"count\": null}, "
                          "{\"series\": \"A\", \"date\": \"2000-03-01\", \"count\": 1}]")
            << ""
            << "A: 2000.1=7 2000.2=4 2000.3=1"
            << "Table: JSON records";
        QTest::newRow("series column 0: every column of numbers a series")
            << QByteArray("date,name,A\n2000-01,x,1\n2000-02,y,2\n") << "series=0"
            << "A: 2000.1=1 2000.2=2"
            << "Columns left out: \"name\" (text)";
        QTest::newRow("values below zero count as zero")
            << QByteArray("date,A\n2000-01-01,-5\n2000-01-02,2\n2000-02-01,-1\n") << ""
            << "A: 2000.1=0 2000.2=0"
            << "Months below zero, drawn as 0: 2";
    }
    void readsRealShapes() {
        QFETCH(QByteArray, file);
        QFETCH(QString, options);
        QFETCH(QString, series);
        QFETCH(QString, report);
        const ImportResult result = import(file, options);
        QVERIFY2(result.ok(), qPrintable(result.data.error));
        if (!series.isEmpty())
            QCOMPARE(DataSetText::seriesText(result.data.data), series);
        const QString lines = result.report.lines().join(QLatin1Char('\n'));
        for (const QString& part : report.split(QLatin1Char('|'), Qt::SkipEmptyParts))
            QVERIFY2(lines.contains(part), qPrintable(lines));
    }

    // Every refusal names the place and what was expected.
    void refusals_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("error");
        QTest::newRow("ambiguous day and month") << QByteArray("date,A\n01/02/2020,1\n03/04/2020,2\n") << ""
                                                 << "Line 2, column 1 (\"date\"): cannot tell whether "
                                                    "\"01/02/2020\" is day/month/year or month/day/year";
        QTest::newRow("both orders in one column") << QByteArray("date,A\n13/01/2020,1\n01/13/2020,2\n") << ""
                                                   << "Line 3, column 1 (\"date\"): \"01/13/2020\" puts a "
                                                      "day above 12 second, but \"13/01/2020\" has one "
                                                      "first (line 2)";
        QTest::newRow("text in a column of numbers")
            << QByteArray("date,A\n2000-01,1\n2000-02,2\n2000-03,x\n") << ""
            << "Line 4, column 2 (\"A\"): \"x\" is not a number.";
        QTest::newRow("a total row among the dates")
            << QByteArray("date,A\n2000-01,1\n2000-02,2\nTotal,3\n") << ""
            << "Line 4, column 1 (\"date\"): \"Total\" is not a date";
        QTest::newRow("no dates")
            << QByteArray("when,A\nyesterday,1\n") << ""
            << "Line 2, column 1 (\"when\"): \"yesterday\" is not a date; a column of dates";
        QTest::newRow("no numbers")
            << QByteArray("date,A\n2000-01,many\n") << ""
            << "Line 2, column 2 (\"A\"): \"many\" is not a number, and the file needs";
        QTest::newRow("a column that is not there")
            << QByteArray("date,A\n2000-01,1\n") << "date=when"
            << "--date-column: the file has no column \"when\"; its columns are \"date\", \"A\".";
        QTest::newRow("column number out of range") << QByteArray("date,A\n2000-01,1\n") << "value=3"
                                                    << "--value-column: the file has no column \"3\"";
        QTest::newRow("JSON value") << QByteArray("[{\"date\": \"2000-01\", \"count\": 1},"
                                                  "{\"date\": \"2000-02\", \"count\": \"many\"},"
                                                  "{\"date\": \"2000-03\", \"count\": 3}]")
                                    << ""
                                    << "Record 2, field \"count\": \"many\" is not a number.";
        QTest::newRow("bad month") << QByteArray("series,year,month,value\nS,2008,13,1\n") << ""
                                   << "Line 2, column 3 (\"month\"): \"13\" is not a month (1 to 12).";
        QTest::newRow("a header alone") << QByteArray("Notes\n\ndate,A,B\n") << ""
                                        << "Line 3: the file has a header but no rows of data.";
        QTest::newRow("a sum too large") << QByteArray("date,A\n2000-01-01,1e300\n2000-01-02,1e300\n") << ""
                                         << "Series \"A\", 2000.01: the sum of its 2 values is too large";
    }
    void refusals() {
        QFETCH(QByteArray, file);
        QFETCH(QString, options);
        QFETCH(QString, error);
        const ImportResult result = import(file, options);
        QVERIFY2(result.data.error.contains(error), qPrintable(result.data.error));
        QVERIFY(result.data.data.series.isEmpty());
    }

    // A long table whose rows of one series come after another's, far beyond the sample, is read whole.
    // Neither column's name says series, and a constant text column comes first: only the names that
    // change past the sample tell which column names the series.
    void longTablesBeyondTheSample() {
        QByteArray file("unit,who,date,value\n");
        for (const char* name : {"A", "B"})
            for (int day = 0; day < 1000; ++day)
                file += QByteArray("kg,") + name + ",2000-" +
                        QByteArray::number(day / 28 % 12 + 1).rightJustified(2, '0') + '-' +
                        QByteArray::number(day % 28 + 1).rightJustified(2, '0') + ",1\n";
        const DataFileResult result = CsvReader::readBytes(file);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.data.series.size(), 2);
        double total = 0.0;
        for (const DataPoint& p : result.data.series[1].points)
            total += p.value;
        QCOMPARE(total, 1000.0);
    }
};

QTEST_GUILESS_MAIN(TableImportTest)
#include "tst_tableimport.moc"
