#include "support/GraphFixtures.h"

#include "data/DataSet.h"
#include "export/StackedLayoutCsv.h"
#include "graph/StackedGraph.h"

#include <QBuffer>
#include <QGraphicsPathItem>
#include <QTest>
#include <QWidget>

using GraphFixtures::at;

namespace {
QByteArray csvOf(const QVector<DataSeries>& data, int baseline, int sort = 0) {
    DataSet set;
    set.series = data;
    QWidget parent;
    StackedGraph graph(&set.series, &set.unitText, &set.unitAfterValue, &set.magnitudeSuffixes, &parent);
    graph.computeXRange();
    graph.setBaselineAlgo(baseline);
    graph.setSortAlgo(sort);
    graph.makeStackedGraph();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    StackedLayoutCsv::write(graph.layout(), set.series, buffer);
    return buffer.data();
}

const QVector<DataSeries> example = {at(0, {2, 2, 2}, QStringLiteral("A")),
                                     at(1, {4, 4}, QStringLiteral("B, too"))};
} // namespace

class StackedLayoutCsvTest : public QObject {
    Q_OBJECT
private slots:
    void rowsPerLayerAndMonth_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("x-axis") << 0
                                << QByteArray("layer,series,year,month,bottom,top\n"
                                              "0,A,2000,1,0,2\n0,A,2000,2,0,2\n0,A,2000,3,0,2\n"
                                              "1,\"B, too\",2000,2,2,6\n1,\"B, too\",2000,3,2,6\n");
        QTest::newRow("symmetric") << 1
                                   << QByteArray("layer,series,year,month,bottom,top\n"
                                                 "0,A,2000,1,-1,1\n0,A,2000,2,-3,-1\n0,A,2000,3,-3,-1\n"
                                                 "1,\"B, too\",2000,2,-1,3\n1,\"B, too\",2000,3,-1,3\n");
    }
    void rowsPerLayerAndMonth() {
        QFETCH(int, baseline);
        QFETCH(QByteArray, csv);
        QCOMPARE(csvOf(example, baseline), csv);
    }
    void layersInStackingOrder() {
        // Inside-out puts the later series at the top, then the bottom.
        const QVector<DataSeries> data = {at(0, {1}, QStringLiteral("S0")), at(0, {1}, QStringLiteral("S1")),
                                          at(0, {1}, QStringLiteral("S2"))};
        QCOMPARE(csvOf(data, 0, 1), QByteArray("layer,series,year,month,bottom,top\n"
                                               "0,S2,2000,1,0,1\n1,S0,2000,1,1,2\n2,S1,2000,1,2,3\n"));
    }
    void emptyGraphHasOnlyTheHeader() {
        QCOMPARE(csvOf({}, 0), QByteArray("layer,series,year,month,bottom,top\n"));
    }
    void matchesWhatTheSceneDrew() {
        const QVector<DataSeries> data = {at(0, {1.5, 3, 8.25, 2}), at(1, {5, 0.1, 0.5}), at(2, {2, 2.7}),
                                          at(4, {9})};
        DataSet set;
        set.series = data;
        QWidget parent;
        StackedGraph graph(&set.series, &set.unitText, &set.unitAfterValue, &set.magnitudeSuffixes, &parent);
        graph.computeXRange();
        graph.labelMode = GraphSettings::LabelMode::None;
        graph.setBaselineAlgo(2);
        graph.setSortAlgo(2);
        graph.makeStackedGraph();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        StackedLayoutCsv::write(graph.layout(), set.series, buffer);
        QList<QByteArray> rows = buffer.data().split('\n');
        rows.removeFirst();
        rows.removeLast();
        QCOMPARE(rows.size(), 4 + 3 + 2 + 1);
        int row = 0;
        for (int i = 0; i < graph.stackingOrder().size(); ++i) {
            const QPainterPath path = graph.stackingOrder()[i].item->path();
            const int n = int(data[graph.stackingOrder()[i].seriesIndex].points.size());
            for (int k = 0; k < n; ++k, ++row) {
                const QList<QByteArray> fields = rows[row].split(',');
                QCOMPARE(fields[0].toInt(), i);
                const double top = fields[5].toDouble();
                const double bottom = fields[4].toDouble();
                // Top edge: element 0, then every third; bottom edge runs back from the right
                // (no zero values here: Qt drops a curve that does not move).
                QCOMPARE(path.elementAt(k == 0 ? 0 : 3 * k).y, -top * graph.verticalScale());
                QCOMPARE(path.elementAt(3 * (2 * n - 1 - k)).y, -bottom * graph.verticalScale());
            }
        }
    }
};

QTEST_MAIN(StackedLayoutCsvTest)
#include "tst_stackedlayoutcsv.moc"
