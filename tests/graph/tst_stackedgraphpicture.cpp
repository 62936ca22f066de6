#include "data/DataFileReader.h"
#include "graph/StackedGraph.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTest>
#include <QWidget>

// Renders the bundled real data set the way the program shows it and checks the picture's broad
// features; the image is kept in the build directory to look at.
class StackedGraphPictureTest : public QObject {
    Q_OBJECT
private slots:
    void realDataLooksLikeAStreamgraph_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<int>("sort");
        QTest::addColumn<int>("color");
        QTest::newRow("x-axis, onset-time, first onset") << 0 << 0 << 0;
        QTest::newRow("symmetric, inside-out, sum quant") << 1 << 1 << 4;
        QTest::newRow("baseline, weighted, max quant") << 2 << 2 << 2;
    }
    void realDataLooksLikeAStreamgraph() {
        QFETCH(int, baseline);
        QFETCH(int, sort);
        QFETCH(int, color);
        const DataFileResult read = DataFileReader::readFile(
            QStringLiteral(STACKEDGRAPH_SOURCE_DIR "/../shared/data/unemployment-by-industry.data"));
        if (!read.ok() || read.data.series.isEmpty())
            QSKIP("the bundled data set is not available");
        const DataSet& data = read.data;
        QWidget parent;
        StackedGraph graph(&data.series, &data.unitText, &data.unitAfterValue, &data.magnitudeSuffixes,
                           &parent);
        graph.rebuildEnabled = false;
        graph.computeXRange();
        graph.setXRange(4000);
        graph.setBaselineAlgo(baseline);
        graph.setSortAlgo(sort);
        graph.setColorAlgo(color);
        graph.rebuildEnabled = true;
        graph.makeStackedGraph();
        QCOMPARE(graph.stackingOrder().size(), data.series.size());

        const QRectF rect = graph.sceneRect();
        QImage image(QSize(1600, int(1600 * rect.height() / rect.width())), QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            graph.render(&painter, QRectF(image.rect()), rect);
        }
        image.save(QStringLiteral(STACKEDGRAPH_BINARY_DIR "/graph-picture-%1%2%3.png")
                       .arg(baseline)
                       .arg(sort)
                       .arg(color));

        // The layers fill most of the middle column, in many shades of grey.
        QSet<QRgb> greys;
        int filled = 0;
        const int x = image.width() / 2;
        for (int y = 0; y < image.height(); ++y) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == qRgb(255, 255, 255))
                continue;
            ++filled;
            QCOMPARE(qRed(pixel), qGreen(pixel));
            QCOMPARE(qGreen(pixel), qBlue(pixel));
            greys.insert(pixel);
        }
        QVERIFY2(filled > image.height() / 2, qPrintable(QString::number(filled)));
        QVERIFY2(greys.size() >= 8, qPrintable(QString::number(greys.size())));
    }
};

QTEST_MAIN(StackedGraphPictureTest)
#include "tst_stackedgraphpicture.moc"
