#include "support/GraphFixtures.h"

#include "data/DataFileReader.h"
#include "export/LayerLabelCsv.h"
#include "graph/GraphLayout.h"
#include "support/TestFiles.h"

#include <QBuffer>
#include <QTest>

namespace {

// The labels of the example or of 200 generated series as CSV rows (no name holds a comma), and the
// layout they come from; one odd row when the header is wrong.
QList<QList<QByteArray>> rowsOf(const QString& data, GraphSettings::LabelMode mode, int baseline,
                                GraphLayout* layout) {
    DataSet set;
    set.series = data == QLatin1String("example") ? DataFileReader::readFile(exampleDataFile()).data.series
                                                  : GraphFixtures::generated(200, 240, 7);
    GraphSettings settings;
    settings.labels = mode;
    settings.baseline = baseline;
    settings.width = GraphSettings::defaultWidth(MonthRange::ofSeries(set.series).span());
    *layout = layOut(set, settings);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    LayerLabelCsv::write(*layout, set.series, buffer);
    QList<QByteArray> lines = buffer.data().split('\n');
    if (lines.takeFirst() != "layer,series,text,pixel_size,x,y,width,height" || !lines.takeLast().isEmpty())
        return {{"wrong header"}};
    QList<QList<QByteArray>> rows;
    for (const QByteArray& line : lines)
        rows.append(line.split(','));
    return rows;
}

QRectF boxOf(const QList<QByteArray>& row) {
    return QRectF(row[4].toDouble(), row[5].toDouble(), row[6].toDouble(), row[7].toDouble());
}

} // namespace

class LayerLabelCsvTest : public QObject {
    Q_OBJECT
private slots:
    void fittedBoxesLieInsideTheirBandsApart_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<int>("baseline");
        for (const QString& data : {QStringLiteral("example"), QStringLiteral("generated")})
            for (int baseline = 0; baseline < 3; ++baseline)
                QTest::addRow("%s, baseline %d", qPrintable(data), baseline) << data << baseline;
    }
    void fittedBoxesLieInsideTheirBandsApart() {
        QFETCH(QString, data);
        QFETCH(int, baseline);
        GraphLayout layout;
        QVERIFY(rowsOf(data, GraphSettings::LabelMode::None, baseline, &layout).isEmpty());
        const auto rows = rowsOf(data, GraphSettings::LabelMode::Fitted, baseline, &layout);
        QVERIFY(rows.size() >= (data == QLatin1String("example") ? 14 : 50));
        for (int i = 0; i < rows.size(); ++i) {
            const LayerLayout& layer = layout.layers[rows[i][0].toInt()];
            QCOMPARE(rows[i][3].toInt(), layer.label.pixelSize);
            QVERIFY2(GraphFixtures::insideBand(layer.band, boxOf(rows[i])), rows[i][2]);
            QVERIFY(boxOf(rows[i]).height() >= 1.0);
            for (int j = 0; j < i; ++j)
                QVERIFY(!boxOf(rows[i]).intersects(boxOf(rows[j])));
        }
    }
};

QTEST_MAIN(LayerLabelCsvTest)
#include "tst_layerlabelcsv.moc"
