#include "data/DataFileReader.h"
#include "export/DataSetCsv.h"

#include <QBuffer>
#include <QTest>

class DataSetCsvTest : public QObject {
    Q_OBJECT
private slots:
    void writesOneRowPerPoint() {
        DataSet data;
        data.series = {{QStringLiteral("Beta"), {{2007, 11, 20}, {2007, 12, 30.25}}},
                       {QStringLiteral("Alpha, \"the first\""), {{2008, 1, 1.0 / 3.0}}}};
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(data, buffer);
        QCOMPARE(buffer.data(), QByteArray("series,year,month,value\n"
                                           "Beta,2007,11,20\n"
                                           "Beta,2007,12,30.25\n"
                                           "\"Alpha, \"\"the first\"\"\",2008,1,0.3333333333333333\n"));
    }

    void emptySetGivesHeaderOnly() {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(DataSet(), buffer);
        QCOMPARE(buffer.data(), QByteArray("series,year,month,value\n"));
    }

    // Enough rows to cross the write blocks; every value must come back exactly.
    void largeSetRoundTrips() {
        DataSet data;
        DataSeries series{QStringLiteral("N\u00e4me"), {}};
        for (int k = 0; k < 20000; ++k)
            series.points.append({-5 + k / 12, k % 12 + 1, k * 0.1});
        data.series = {series};
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(data, buffer);
        const QList<QByteArray> lines = buffer.data().split('\n');
        QCOMPARE(lines.size(), 20000 + 2);
        QVERIFY(lines.last().isEmpty());
        for (int k = 0; k < 20000; ++k) {
            const QList<QByteArray> fields = lines[k + 1].split(',');
            QCOMPARE(fields.size(), 4);
            QCOMPARE(QString::fromUtf8(fields[0]), series.name);
            QCOMPARE(fields[1].toInt(), -5 + k / 12);
            QCOMPARE(fields[2].toInt(), k % 12 + 1);
            QCOMPARE(fields[3].toDouble(), k * 0.1);
        }
    }
};

QTEST_GUILESS_MAIN(DataSetCsvTest)
#include "tst_datasetcsv.moc"
