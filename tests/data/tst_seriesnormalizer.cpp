#include "data/DataFileReader.h"
#include "data/SeriesNormalizer.h"
#include "support/DataSetText.h"

#include <QTest>

using DataSetText::seriesText;

namespace {

// A file with the usual header around the given points text of one series "S".
QByteArray withPoints(const QByteArray& points) {
    return "[ \"\" | ] { { \"S\" { " + points + " } } }";
}

DataFileResult read(const QByteArray& bytes) {
    return DataFileReader::readBytes(bytes);
}

DataSeries series(const QString& name, std::initializer_list<DataPoint> points) {
    DataSeries s;
    s.name = name;
    s.points = points;
    return s;
}

} // namespace

// Sorting, one point a month and the refusals, as every reader gets them.
class SeriesNormalizerTest : public QObject {
    Q_OBJECT
private slots:
    void shortSeriesDroppedAndSeriesSorted() {
        QVector<DataSeries> data = {series(QStringLiteral("Late"), {{2009, 3, 1}, {2009, 1, 3}}),
                                    series(QStringLiteral("One"), {{2001, 1, 1}}),
                                    series(QStringLiteral("Early"), {{2008, 11, 0}, {2009, 2, 30}})};
        int dropped = -1;
        QCOMPARE(SeriesNormalizer::normalize(data, &dropped), QString());
        QCOMPARE(dropped, 1);
        QCOMPARE(data.size(), 2);
        QCOMPARE(data[0].name, QStringLiteral("Early"));
        QCOMPARE(data[0].points.size(), 4);
        QCOMPARE(data[0].points[1].value, 10.0);
        QCOMPARE(data[1].points.first().month, 1);
        QCOMPARE(data[1].points[1].value, 2.0);
        QCOMPARE(invariantFault(DataSet{data, {}, true, {}}), QString());
    }

    void stableSortKeepsFirstOfSameMonth() {
        const DataFileResult result = read(withPoints("(2008,5,1) (2008,4,9) (2008,5,2) (2008,4,8)"));
        QCOMPARE(seriesText(result.data), QStringLiteral("S: 2008.4=9 2008.5=1"));
    }

    void hugeGapsAreRefused() {
        // A year typo: 1998 written as 101998.
        const DataFileResult typo = read("[\"\"|]{ {\"Rain\" {(2008,1,1)(101998,2,1)}} }");
        QVERIFY(!typo.ok());
        QVERIFY2(typo.error.contains(QStringLiteral("\"Rain\"")), qPrintable(typo.error));
        QVERIFY2(typo.error.contains(QStringLiteral("2008.01")), qPrintable(typo.error));
        QVERIFY2(typo.error.contains(QStringLiteral("101998.02")), qPrintable(typo.error));

        const DataFileResult extremes = read(withPoints("(-2147483648,1,1) (2147483647,12,1)"));
        QVERIFY(!extremes.ok());
    }

    void spanLimit() {
        // Month indexes 0 and 120000: exactly the largest span allowed.
        const DataFileResult largest = read(withPoints("(0,1,0) (10000,1,120000)"));
        QVERIFY2(largest.ok(), qPrintable(largest.error));
        QCOMPARE(largest.data.series[0].points.size(), 120001);
        QCOMPARE(largest.data.series[0].points[777].value, 777.0);

        const DataFileResult tooLong =
            read("[\"\"|]{ {\"Early\" {(0,1,1)(0,2,1)}} {\"Late\" {(10000,1,1)(10000,2,1)}} }");
        QVERIFY(!tooLong.ok());
        QVERIFY2(tooLong.error.contains(QStringLiteral("\"Early\"")), qPrintable(tooLong.error));
        QVERIFY2(tooLong.error.contains(QStringLiteral("\"Late\"")), qPrintable(tooLong.error));
        QVERIFY(tooLong.data.series.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SeriesNormalizerTest)
#include "tst_seriesnormalizer.moc"
