#include "table/CsvTable.h"
#include "table/JsonTable.h"

#include <QTest>

namespace {

// A table as text: rows by " | ", cells by ",", each row with its line: "1:date,A | 2:2008-01,1".
QString tableText(const SourceTable& source) {
    QStringList rows;
    for (int row = 0; row < source.table.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < source.table.cellCount(row); ++column)
            cells << FileText::decode(source.table.cell(row, column));
        rows << QString::number(source.table.line(row)) + QLatin1Char(':') + cells.join(QLatin1Char(','));
    }
    return rows.join(QStringLiteral(" | "));
}

} // namespace

class CsvTableTest : public QObject {
    Q_OBJECT
private slots:
    // The separator the header and the rows after it agree on, and rows of notes above the header.
    void findsSeparatorAndHeader_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("skipRows");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("table");
        QTest::newRow("commas") << QByteArray("date,A\n2008-01,1\n") << -1 << "," << 0
                                << "1:date,A | 2:2008-01,1";
        QTest::newRow("semicolons with decimal commas")
            << QByteArray("date;A;B\n2008-01;1,5;2\n2008-02;3,25;4,5\n") << -1 << ";" << 0
            << "1:date,A,B | 2:2008-01,1,5,2 | 3:2008-02,3,25,4,5";
        QTest::newRow("tabs, comma in a name")
            << QByteArray("date\tA,B\n2008-01\t1\n") << -1 << "\t" << 0 << "1:date,A,B | 2:2008-01,1";
        QTest::newRow("notes above the header")
            << QByteArray("\xEF\xBB\xBF\"Title: "
                          "sales\"\nUnit:,persons\n\ndate,North,South\n2008-01,1,2\n2008-02,3,4\n")
            << -1 << "," << 2 << "4:date,North,South | 5:2008-01,1,2 | 6:2008-02,3,4";
        QTest::newRow("a header shorter than its rows stays the header")
            << QByteArray("date,A\n2008-01,1,\n2008-02,2,\n") << -1 << "," << 0 << "";
        QTest::newRow("skip rows said outright")
            << QByteArray("a,b,c\nx\ndate,A\n2008-01,1\n") << 2 << "," << 2 << "3:date,A | 4:2008-01,1";
        QTest::newRow("more rows skipped than the sample holds")
            << QByteArray("x\n").repeated(300) + "date,A\n2008-01,1\n"
            << 300 << "," << 300 << "301:date,A | 302:2008-01,1";
        QTest::newRow("quoted line breaks and blank rows")
            << QByteArray("date,\"A\nB\"\r\n\r\n2008-01,1\r\n,\r\n2008-02,2\r\n") << -1 << "," << 0
            << "1:date,A\nB | 4:2008-01,1 | 6:2008-02,2";
    }
    void findsSeparatorAndHeader() {
        QFETCH(QByteArray, file);
        QFETCH(int, skipRows);
        QFETCH(QString, separator);
        QFETCH(int, skipped);
        QFETCH(QString, table);
        const SourceTable source = CsvTable::read(file, ',', skipRows);
        QCOMPARE(QString(QLatin1Char(source.delimiter)), separator);
        QCOMPARE(source.skippedRows.size(), skipped);
        if (table.isEmpty()) {
            QVERIFY2(source.error.contains(QStringLiteral("Line 2, column 3: the row has more cells")),
                     qPrintable(source.error));
            return;
        }
        QVERIFY2(source.ok(), qPrintable(source.error));
        QCOMPARE(tableText(source), table);
        QCOMPARE(source.mark == CellText::DecimalMark::Comma, separator == QLatin1String(";"));
    }

    void refusesWhatIsNoTable_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("json");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray("\n\n") << false << "The file is empty";
        QTest::newRow("stray quote") << QByteArray("date,A\n2008-01,1\"2\n") << false
                                     << "Line 2, column 2 (\"A\"): a quote inside";
        QTest::newRow("too few cells")
            << QByteArray("date,A,B\r\n2008-01,1\r\n") << false
            << "Line 2, column 3 (\"B\"): the row ends here, but the header has 3 columns.";
        QTest::newRow("not JSON") << QByteArray("[{\"a\": 1},\n{\"a\" 2}]") << true
                                  << "Line 2: the file is not JSON";
        QTest::newRow("no records") << QByteArray("{\"a\": 1, \"b\": 2}") << true << "holds no records";
        QTest::newRow("nested") << QByteArray("[{\"date\": \"2000-01\"}, {\"date\": [1]}]") << true
                                << "Record 2, field \"date\": a nested array";
        QTest::newRow("array of values") << QByteArray("[1, 2]") << true << "Record 1: expected an object";
        QTest::newRow("empty array") << QByteArray("[]") << true << "The file is empty";
    }
    void refusesWhatIsNoTable() {
        QFETCH(QByteArray, file);
        QFETCH(bool, json);
        QFETCH(QString, error);
        const SourceTable source = json ? JsonTable::read(file) : CsvTable::read(file);
        QVERIFY2(source.error.contains(error), qPrintable(source.error));
        QCOMPARE(source.table.rowCount(), 0);
    }

    // Keys as the reader gives them, object after object; absent keys and null are empty; numbers shortest.
    void jsonRecordsBecomeRows() {
        const SourceTable source =
            JsonTable::read("{\"data\": [{\"date\": \"2000-01\", \"n\": 1.5, \"ok\": true},"
                            " {\"n\": null, \"date\": \"2000-02\", \"name\": \"\\u00e9\"}, {\"n\": 1e21}]}");
        QVERIFY2(source.ok(), qPrintable(source.error));
        QCOMPARE(tableText(source),
                 QStringLiteral("0:date,n,ok,name | 1:2000-01,1.5,true, | 2:2000-02,,,\u00e9 | "
                                "3:,1e+21,,"));
        QCOMPARE(source.place(2, 1), QStringLiteral("Record 2, field \"n\""));
    }

    void numbersInEitherMark_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("comma");
        QTest::addColumn<double>("number"); // NaN: no number
        const double none = qQNaN();
        QTest::newRow("point") << QByteArray(" -1.5e3 ") << false << -1500.0;
        QTest::newRow("comma in a point column") << QByteArray("1,5") << false << none;
        QTest::newRow("decimal comma") << QByteArray("1,5") << true << 1.5;
        QTest::newRow("grouped thousands") << QByteArray("1.234.567,89") << true << 1234567.89;
        QTest::newRow("grouped, no fraction") << QByteArray("1.500") << true << 1500.0;
        QTest::newRow("a point is no decimal mark there") << QByteArray("1.5") << true << none;
        QTest::newRow("groups of two") << QByteArray("1.23,4") << true << none;
        QTest::newRow("two commas") << QByteArray("1,2,3") << true << none;
        QTest::newRow("inf") << QByteArray("inf") << false << none;
    }
    void numbersInEitherMark() {
        QFETCH(QByteArray, text);
        QFETCH(bool, comma);
        QFETCH(double, number);
        double read = 0.0;
        const bool ok =
            CellText::parseNumber({text.constData(), text.constData() + text.size()},
                                  comma ? CellText::DecimalMark::Comma : CellText::DecimalMark::Point, read);
        QCOMPARE(ok, !qIsNaN(number));
        if (ok)
            QCOMPARE(read, number);
    }

    void missingValueWords() {
        for (const char* word : {"", "  ", "NA", "n/a", "NaN", "null", "NULL", "-", ".."})
            QVERIFY2(CellText::isMissing({word, word + qstrlen(word)}), word);
        for (const char* word : {"0", "none", "-1", "nada"})
            QVERIFY2(!CellText::isMissing({word, word + qstrlen(word)}), word);
    }
};

QTEST_GUILESS_MAIN(CsvTableTest)
#include "tst_csvtable.moc"
