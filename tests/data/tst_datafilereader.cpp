#include "data/DataFileReader.h"

#include "support/DataSetText.h"
#include "support/TestFiles.h"

#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>

using DataSetText::headerText;
using DataSetText::seriesText;

namespace {

const char workedExample[] = "[ \"EUR\", false | \"\" \" k\" \" M\" ]\n"
                             "{\n"
                             "  { \"Alpha\" { (2008,1,1500) (2008,2,2500.5) (2008,4,1000) } }\n"
                             "  { \"Beta\"  { (2008,1,40), (2007,11,20) } }\n"
                             "  { \"Gamma\" { (2008,3,7) } }\n"
                             "}\n";

// A file with the usual header around the given points text of one series "S".
QByteArray withPoints(const QByteArray& points) {
    return "[ \"\" | ] { { \"S\" { " + points + " } } }";
}

DataFileResult read(const QByteArray& bytes) {
    return DataFileReader::readBytes(bytes);
}

} // namespace

class DataFileReaderTest : public QObject {
    Q_OBJECT
private slots:
    void workedExample() {
        const DataFileResult result = read(::workedExample);
        QVERIFY(result.ok());
        QCOMPARE(result.data.unitText, QStringLiteral("EUR"));
        QCOMPARE(result.data.unitAfterValue, false);
        QCOMPARE(result.data.magnitudeSuffixes,
                 QVector<QString>({QString(), QStringLiteral(" k"), QStringLiteral(" M")}));
        QCOMPARE(seriesText(result.data), QStringLiteral("Beta: 2007.11=20 2007.12=30 2008.1=40 | "
                                                         "Alpha: 2008.1=1500 2008.2=2500.5 2008.3=1750.25 "
                                                         "2008.4=1000"));
        QCOMPARE(result.data.series[1].points[2].value, 2500.5 + (1.0 / 2.0) * (1000 - 2500.5));
        QCOMPARE(result.seriesRead, 3);
        QCOMPARE(result.droppedSeries, 1);
    }

    void header_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("header");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral(" after");
        QTest::newRow("flag false with spaces")
            << QByteArray("[\"u\"  false  |]") << QStringLiteral("u before");
        QTest::newRow("flag false and comma") << QByteArray("[\"u\" false, |]") << QStringLiteral("u before");
        QTest::newRow("flag fa lse") << QByteArray("[\"u\" fa\tl\r\nse |]") << QStringLiteral("u before");
        QTest::newRow("flag FALSE") << QByteArray("[\"u\" FALSE|]") << QStringLiteral("u before");
        QTest::newRow("flag False") << QByteArray("[\"u\" False|]") << QStringLiteral("u after");
        QTest::newRow("flag fAlse") << QByteArray("[\"u\" fAlse|]") << QStringLiteral("u after");
        QTest::newRow("flag falsefalse") << QByteArray("[\"u\" falsefalse|]") << QStringLiteral("u after");
        QTest::newRow("flag 0") << QByteArray("[\"u\" 0|]") << QStringLiteral("u after");
        QTest::newRow("flag no") << QByteArray("[\"u\" no|]") << QStringLiteral("u after");
        QTest::newRow("flag empty") << QByteArray("[\"u\"|]") << QStringLiteral("u after");
        QTest::newRow("suffix spaces stay")
            << QByteArray("[\"\"|\"  k \" , \"M\"]") << QStringLiteral(" after <  k > <M>");
        QTest::newRow("suffix without closing quote")
            << QByteArray("[\"\"|\"k\" \"M ]") << QStringLiteral(" after <k> <M >");
        // Without "[" the first step runs to the end, and every later step takes that same text.
        QTest::newRow("no bracket") << QByteArray("\"EUR\" | \"k\"")
                                    << QStringLiteral("\"EUR\" | \"k\" after <EUR> <k>");
        QTest::newRow("input ends in the unit") << QByteArray("[ \"false") << QStringLiteral("false before");
        QTest::newRow("input ends before the flag")
            << QByteArray("[ \"a\"b\"c\"") << QStringLiteral("a after <c>");
        QTest::newRow("input ends in the flag") << QByteArray("[ \"u\" FALSE") << QStringLiteral("u before");
    }
    void header() {
        QFETCH(QByteArray, file);
        QFETCH(QString, header);
        const DataFileResult result = read(file);
        QVERIFY(result.ok());
        QCOMPARE(headerText(result.data), header);
    }

    void series_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("series");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("dropped");
        QTest::newRow("empty file") << QByteArray() << QString() << 0 << 0;
        QTest::newRow("no bracket") << QByteArray("{ \"S\" { (2008,1,1) (2008,2,2) } }") << QString() << 0
                                    << 0;
        QTest::newRow("no brace after header")
            << QByteArray("[\"\"|] \"S\" (2008,1,1) (2008,2,2)") << QString() << 0 << 0;
        QTest::newRow("month 0") << withPoints("(2008,0,5) (2008,2,7)")
                                 << QStringLiteral("S: 2008.1=5 2008.2=7") << 1 << 0;
        QTest::newRow("month 13") << withPoints("(2008,11,1) (2008,13,6)")
                                  << QStringLiteral("S: 2008.11=1 2008.12=6") << 1 << 0;
        QTest::newRow("negative and text values")
            << withPoints("(2008,5,-3) (2008,6,abc)") << QStringLiteral("S: 2008.5=0 2008.6=0") << 1 << 0;
        QTest::newRow("same month twice")
            << withPoints("(2008,5,1) (2008,5,2)") << QStringLiteral("S: 2008.5=1") << 1 << 0;
        QTest::newRow("one point") << withPoints("(2008,5,1)") << QString() << 1 << 1;
        QTest::newRow("no points") << withPoints("") << QString() << 1 << 1;
        QTest::newRow("any order") << withPoints("(2008,3,3) (2007,12,0) (2008,1,1) (2008,2,2)")
                                   << QStringLiteral("S: 2007.12=0 2008.1=1 2008.2=2 2008.3=3") << 1 << 0;
        QTest::newRow("gap filled") << withPoints("(2008,1,10) (2008,4,40)")
                                    << QStringLiteral("S: 2008.1=10 2008.2=20 2008.3=30 2008.4=40") << 1 << 0;
        QTest::newRow("gap across year end")
            << withPoints("(2007,11,0) (2008,2,30)")
            << QStringLiteral("S: 2007.11=0 2007.12=10 2008.1=20 2008.2=30") << 1 << 0;
        QTest::newRow("gap across negative years")
            << withPoints("(-1,11,0) (0,2,30)") << QStringLiteral("S: -1.11=0 -1.12=10 0.1=20 0.2=30") << 1
            << 0;
        QTest::newRow("separators ignored") << withPoints("(2008,1,1),;\n(2008,2,2) x (2008,3,3)")
                                            << QStringLiteral("S: 2008.1=1 2008.2=2 2008.3=3") << 1 << 0;
        QTest::newRow("spaces inside numbers") << withPoints("( 2 0 0 8 , 1 , 1 5 ) (2008,2,2\t.\n5)")
                                               << QStringLiteral("S: 2008.1=15 2008.2=2.5") << 1 << 0;
        QTest::newRow("extra brace at the end") << QByteArray("[\"\"|]{ {\"S\" {(2008,1,1)(2008,2,2)} } {\n}")
                                                << QStringLiteral("S: 2008.1=1 2008.2=2") << 2 << 1;
        QTest::newRow("further fields ignored") << withPoints("(2008,3,4.5,9) (2008,4,1,2,3)")
                                                << QStringLiteral("S: 2008.3=4.5 2008.4=1") << 1 << 0;
        QTest::newRow("integer prefixes")
            << withPoints("(2008.5,3x,1) (2008,4y,2)") << QStringLiteral("S: 2008.3=1 2008.4=2") << 1 << 0;
        QTest::newRow("no digits") << withPoints("(x2008,1,1) (,2,2)") << QStringLiteral("S: 0.1=1 0.2=2")
                                   << 1 << 0;
        QTest::newRow("missing closing parenthesis")
            << withPoints("(2008,1,1) (2008,2,5") << QStringLiteral("S: 2008.1=1 2008.2=5") << 1 << 0;
        QTest::newRow("parenthesis inside a point")
            << withPoints("((0,1,1) (0,(2,2) (0,2,3)") << QStringLiteral("S: 0.1=1 0.2=3") << 1 << 0;
        // The input ends inside the name: the points text is the name's text again.
        QTest::newRow("input ends in a name")
            << QByteArray("[\"\"|] { { \"Al(2008,1,1)(2008,2,3)")
            << QStringLiteral("Al(2008,1,1)(2008,2,3): 2008.1=1 2008.2=3") << 1 << 0;
        QTest::newRow("input ends before the points") << QByteArray("[\"\"|] { { \"A\" (2008,1,1)(2008,2,3)")
                                                      << QStringLiteral("A: 2008.1=1 2008.2=3") << 1 << 0;
        QTest::newRow("series without brace between")
            << QByteArray("[\"\"|] { {\"A\" {(2008,1,1)(2008,2,3)} \"B\" {(2008,1,1)(2008,2,3)} }")
            << QStringLiteral("A: 2008.1=1 2008.2=3 | (2008,1,1)(2008,2,3)} }: 2008.1=1 2008.2=3") << 2 << 0;
        QTest::newRow("series sorted by first month")
            << QByteArray("[\"\"|]{ {\"A\"{(2009,1,1)(2009,2,1)}} {\"B\"{(2008,1,2)(2008,2,2)}} "
                          "{\"C\"{(2008,1,3)(2008,2,3)}} }")
            << QStringLiteral("B: 2008.1=2 2008.2=2 | C: 2008.1=3 2008.2=3 | A: 2009.1=1 2009.2=1") << 3 << 0;
    }
    void series() {
        QFETCH(QByteArray, file);
        QFETCH(QString, series);
        QFETCH(int, read);
        QFETCH(int, dropped);
        const DataFileResult result = ::read(file);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(seriesText(result.data), series);
        QCOMPARE(result.seriesRead, read);
        QCOMPARE(result.droppedSeries, dropped);
    }

    // Point texts without commas lack the year (and month); they continue from the point before.
    void missingYearAndMonth_data() {
        QTest::addColumn<QByteArray>("points");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<int>("count");
        QTest::newRow("value only repeats the month")
            << QByteArray("(2008,3,1) (9) (2008,4,2)") << QStringLiteral("2008.3=1")
            << QStringLiteral("2008.4=2") << 2;
        QTest::newRow("month missing") << QByteArray("(2008,3,1) (2009,2)") << QStringLiteral("2008.3=1")
                                       << QStringLiteral("2009.3=2") << 13;
        QTest::newRow("leading points take the first named field")
            << QByteArray("(7) (2008,5,1) (2008,6,2)") << QStringLiteral("2008.5=7")
            << QStringLiteral("2008.6=2") << 2;
        QTest::newRow("blanks only") << QByteArray("(2008,3,1) ( \t) (2008,4,2)")
                                     << QStringLiteral("2008.3=1") << QStringLiteral("2008.4=2") << 2;
        QTest::newRow("no field anywhere")
            << QByteArray("(1) (2)") << QStringLiteral("0.1=1") << QStringLiteral("0.1=1") << 1;
        QTest::newRow("year only") << QByteArray("(2008,1) (2009,2)") << QStringLiteral("2008.1=1")
                                   << QStringLiteral("2009.1=2") << 13;
    }
    void missingYearAndMonth() {
        QFETCH(QByteArray, points);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(int, count);
        const DataFileResult result = read(withPoints(points));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.data.series.size(), 1);
        const QStringList all = DataSetText::points(result.data.series[0]).split(QLatin1Char(' '));
        QCOMPARE(all.first(), first);
        QCOMPARE(all.last(), last);
        QCOMPARE(all.size(), count);
    }

    void values_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("integer") << QByteArray("1500") << 1500.0;
        QTest::newRow("fraction") << QByteArray("2.5") << 2.5;
        QTest::newRow("plus sign") << QByteArray("+7") << 7.0;
        QTest::newRow("leading point") << QByteArray(".5") << 0.5;
        QTest::newRow("trailing point") << QByteArray("5.") << 5.0;
        QTest::newRow("exponent") << QByteArray("1.5e3") << 1500.0;
        QTest::newRow("exponent sign") << QByteArray("25E-1") << 2.5;
        QTest::newRow("bare exponent") << QByteArray("4e") << 4.0;
        QTest::newRow("exponent without digits") << QByteArray("4e+x") << 4.0;
        QTest::newRow("lone point") << QByteArray(".") << 0.0;
        QTest::newRow("inf") << QByteArray("inf") << 0.0;
        QTest::newRow("nan") << QByteArray("nan") << 0.0;
        QTest::newRow("hex") << QByteArray("0x1p3") << 0.0;
        QTest::newRow("comma decimal") << QByteArray("2,5") << 2.0;
        QTest::newRow("underflow") << QByteArray("1e-999") << 0.0;
        QTest::newRow("negative overflow") << QByteArray("-1e999") << 0.0;
        QTest::newRow("largest allowed") << QByteArray("1e300") << 1e300;
        QTest::newRow("long digits") << QByteArray(400, '1').prepend("0.") << 0.11111111111111111;
    }
    void values() {
        QFETCH(QByteArray, value);
        QFETCH(double, expected);
        const DataFileResult result = read(withPoints("(2008,1," + value + ") (2008,2,0)"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.data.series.size(), 1);
        QCOMPARE(result.data.series[0].points[0].value, expected);
    }

    void negativeZeroIsPositive() {
        const DataFileResult result = read(withPoints("(2008,1,-0) (2008,2,-0.0e5)"));
        QCOMPARE(result.data.series.size(), 1);
        for (const DataPoint& p : result.data.series[0].points)
            QVERIFY(!std::signbit(p.value));
    }

    void valuesTooLargeAreRefused_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("1e999") << QByteArray("1e999");
        QTest::newRow("1e308") << QByteArray("1e308");
        QTest::newRow("just above 1e300") << QByteArray("1.0000000000001e300");
    }
    void valuesTooLargeAreRefused() {
        QFETCH(QByteArray, value);
        const DataFileResult result =
            read("[\"\"|]{ {\"A\"{(2008,1,1)(2008,2,1)}} {\"Big\" {(2008,1,1)(2008,2," + value + ")}} }");
        QVERIFY(!result.ok());
        QVERIFY(result.data.series.isEmpty());
        QVERIFY2(result.error.contains(QStringLiteral("\"Big\"")), qPrintable(result.error));
        QVERIFY2(result.error.contains(QStringLiteral("point 2 (2008,2,") + QLatin1String(value)),
                 qPrintable(result.error));
    }

    void integersSaturate_data() {
        QTest::addColumn<QByteArray>("year");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("2^31 - 1") << QByteArray("2147483647") << qint32(2147483647);
        QTest::newRow("2^31") << QByteArray("2147483648") << qint32(2147483647);
        QTest::newRow("huge") << QByteArray("99999999999999999999999") << qint32(2147483647);
        QTest::newRow("-2^31") << QByteArray("-2147483648") << qint32(-2147483647 - 1);
        QTest::newRow("below -2^31") << QByteArray("-2147483649") << qint32(-2147483647 - 1);
    }
    void integersSaturate() {
        QFETCH(QByteArray, year);
        QFETCH(qint32, expected);
        const DataFileResult result = read(withPoints("(" + year + ",11,1) (" + year + ",12,2)"));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.data.series[0].points[0].year, expected);
        QCOMPARE(result.data.series[0].points[1].year, expected);
    }

    void extremeMonthsClamp() {
        const DataFileResult result = read(withPoints("(2008,2147483648,1) (2009,-2147483649,2)"));
        QCOMPARE(result.data.series[0].points.first().month, 12);
        QCOMPARE(result.data.series[0].points.last().month, 1);
        QCOMPARE(result.data.series[0].points.size(), 2);
    }

    void textsDecodeUtf8ElseLatin1() {
        const DataFileResult utf8 =
            read("[\"\xe2\x82\xac\"|\" k\xc3\xa4\"]{ {\"Z\xc3\xbcrich\" {(2008,1,1)(2008,2,1)}} }");
        QCOMPARE(utf8.data.unitText, QString(QChar(0x20ac)));
        QCOMPARE(utf8.data.magnitudeSuffixes.value(0), QStringLiteral(" k") + QChar(0xe4));
        QCOMPARE(utf8.data.series[0].name, QStringLiteral("Z") + QChar(0xfc) + QStringLiteral("rich"));

        const DataFileResult latin1 = read("[\"\xa3\"|]{ {\"Z\xfcrich\" {(2008,1,1)(2008,2,1)}} }");
        QCOMPARE(latin1.data.unitText, QString(QChar(0xa3)));
        QCOMPARE(latin1.data.series[0].name, QStringLiteral("Z") + QChar(0xfc) + QStringLiteral("rich"));

        // Texts that begin with the bytes of U+FEFF keep it.
        const DataFileResult marked = read("[\"\xef\xbb\xbf"
                                           "kg\"|\"\xef\xbb\xbf\"]{ {\"\xef\xbb\xbf"
                                           "A\" {(2008,1,1)(2008,2,1)}} }");
        QCOMPARE(marked.data.unitText, QChar(0xfeff) + QStringLiteral("kg"));
        QCOMPARE(marked.data.magnitudeSuffixes.value(0), QString(QChar(0xfeff)));
        QCOMPARE(marked.data.series[0].name, QChar(0xfeff) + QStringLiteral("A"));

        // Overlong forms and encoded surrogates are not valid UTF-8.
        QCOMPARE(read("[\"\xc0\xaf\"|]").data.unitText, QString(QChar(0xc0)) + QChar(0xaf));
        QCOMPARE(read("[\"\xed\xa0\x80\"|]").data.unitText.size(), 3);
    }

    // With a German C locale, strtod and friends would stop at the "." of 2.5.
    void numbersIgnoreTheLocale() {
        QTemporaryDir localeDir;
        const QByteArray previousC = std::setlocale(LC_ALL, nullptr);
        bool haveGerman = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        if (!haveGerman && QProcess::execute(QStringLiteral("localedef"),
                                             {QStringLiteral("-i"), QStringLiteral("de_DE"),
                                              QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                              localeDir.filePath(QStringLiteral("de_DE.UTF-8"))}) == 0) {
            qputenv("LOCPATH", localeDir.path().toLocal8Bit());
            haveGerman = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        }
        if (haveGerman)
            QCOMPARE(std::strtod("2.5", nullptr), 2.0);
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const DataFileResult result =
            read(withPoints("(2008,1,2.5) (2008,2,1e3) (2008,3,1,5) (2008,4,2.5e-320) (2008,5,1.25e+2)"));
        std::setlocale(LC_ALL, previousC.constData());
        qunsetenv("LOCPATH");
        QLocale::setDefault(previous);
        QCOMPARE(seriesText(result.data),
                 QStringLiteral("S: 2008.1=2.5 2008.2=1000 2008.3=1 2008.4=%1 2008.5=125")
                     .arg(2.5e-320, 0, 'g', 17));
        QCOMPARE(result.data.series[0].points[3].value, 2.5e-320);
        if (!haveGerman)
            qInfo("no German C locale could be made; only the Qt locale was German");
    }

    void readsTheSampleFile() {
        const DataFileResult result = DataFileReader::readFile(exampleDataFile());
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.data.series.size(), 14);
        QCOMPARE(result.data.magnitudeSuffixes, QVector<QString>({QStringLiteral("k"), QStringLiteral("M")}));
        for (const DataSeries& s : result.data.series) {
            QCOMPARE(s.points.first().year, 2000);
            QCOMPARE(s.points.size(), 10 * 12 + 2);
        }
        QCOMPARE(invariantFault(result.data), QString());
    }
};

QTEST_GUILESS_MAIN(DataFileReaderTest)
#include "tst_datafilereader.moc"
