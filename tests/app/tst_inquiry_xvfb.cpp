#include "app/MainWindow.h"
#include "graph/StackedGraph.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/GraphProbe.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

// The View menu's Readout, Series List and Fill Window in a real window, with the pointer moved by the
// X server.
namespace {

// A viewport pixel whose neighbourhood (reach pixels each way, both diagonals) lies on one layer by the
// probe's own reckoning, and that layer's series (-1 and a null point when there is none); avoid: a
// series not to take.
QPoint pixelInsideALayer(StackedGraph* graph, GraphProbe* probe, int* series, int avoid = -1, int reach = 4) {
    StackedGraphView* view = graph->view;
    const auto seriesAt = [&](QPoint pixel) {
        const LayerHit hit =
            probe->hitAt(view->mapToScene(pixel) + QPointF(0.5, 0.5) / view->transform().m11());
        return hit.onLayer() ? graph->layout().layers[hit.layer].seriesIndex : -1;
    };
    const QRect port = view->viewport()->rect().adjusted(10, 10, -10, -10);
    for (int y = port.top(); y < port.bottom(); y += 3)
        for (int x = port.left(); x < port.right(); x += 7) {
            const int s = seriesAt(QPoint(x, y));
            bool inside = s >= 0 && s != avoid;
            for (int d = -reach; d <= reach && inside; ++d)
                inside = seriesAt(QPoint(x + d, y + d)) == s && seriesAt(QPoint(x - d, y + d)) == s;
            if (inside) {
                *series = s;
                return QPoint(x, y);
            }
        }
    *series = -1;
    return {};
}

int brightness(const QImage& image, const QPoint& pixel) {
    return qGray(image.pixel(pixel));
}

// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

class InquiryXvfbTest : public QObject {
    Q_OBJECT
private slots:
    void pointerClickAndFill() {
        FakeDialogs dialogs;
        MainWindow window;
        window.setGeometry(window.screen()->availableGeometry());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.loadFile(exampleDataFile()));
        findAction(window, QStringLiteral("Readout"))->setChecked(true);
        findAction(window, QStringLiteral("Fill Window"))->setChecked(true);
        QStatusBar* status = window.findChild<QStatusBar*>();
        QVERIFY(status && status->isVisible());
        StackedGraph* graph = window.centralWidget->mainGraph->stackedGraph;
        StackedGraphView* view = graph->view;
        QTest::qWait(100);

        // Filled: the graph spans the viewport in one direction to within a pixel and fits the other.
        const QRectF shown = view->mapFromScene(graph->sceneRect()).boundingRect();
        const QSize port = view->viewport()->size();
        QVERIFY(qAbs(shown.width() - port.width()) <= 1.0 || qAbs(shown.height() - port.height()) <= 1.0);
        QVERIFY(shown.width() <= port.width() + 1.0 && shown.height() <= port.height() + 1.0);

        // The X server moves the pointer; the status bar names the layer under it, and nothing is built
        // or painted for it.
        PaintCounter counter;
        view->viewport()->installEventFilter(&counter);
        // Paints still due from loading and filling come first; then the pointer moves on a quiet view.
        for (int quiet = 0; quiet < 20 && (quiet == 0 || counter.paints > 0); ++quiet) {
            counter.paints = 0;
            QTest::qWait(100);
        }
        int series = -1;
        const QPoint pixel = pixelInsideALayer(graph, window.centralWidget->probe(0), &series);
        QVERIFY(series >= 0);
        // The X server keeps the pointer between runs and sends no motion for a move onto the pixel
        // it is already on, so it first goes next door (the same layer).
        QCursor::setPos(view->viewport()->mapToGlobal(pixel + QPoint(1, 1)));
        QTest::qWait(50);
        counter.paints = 0;
        const int builds = graph->buildCount();
        QCursor::setPos(view->viewport()->mapToGlobal(pixel));
        const QString name = window.centralWidget->series[series].name;
        QTRY_VERIFY2(status->currentMessage().startsWith(name + QStringLiteral(" \u00b7 ")),
                     qPrintable(status->currentMessage()));
        QCOMPARE(graph->buildCount(), builds);
        QCOMPARE(counter.paints, 0);
        view->viewport()->removeEventFilter(&counter);

        // A click fades the other layers: their pixels get lighter, the clicked one's stay.
        int other = -1;
        const QPoint elsewhere = pixelInsideALayer(graph, window.centralWidget->probe(0), &other, series);
        QVERIFY(other >= 0);
        const QImage before = view->viewport()->grab().toImage();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, pixel);
        QCOMPARE(window.centralWidget->highlightedSeries(), series);
        const QImage after = view->viewport()->grab().toImage();
        QVERIFY(brightness(after, elsewhere) > brightness(before, elsewhere) + 20);
        QCOMPARE(brightness(after, pixel), brightness(before, pixel));
        // It outlives rebuilds in both graphs; hiding its series or Esc ends it.
        window.centralWidget->mainGraph->baselineBox->setCurrentIndex(0);
        findAction(window, QStringLiteral("Compare Graph"))->setChecked(true);
        QCOMPARE(window.centralWidget->compareGraph->stackedGraph->highlightedSeries(), series);
        window.centralWidget->setHiddenSeries({series});
        QCOMPARE(window.centralWidget->highlightedSeries(), -1);
        window.centralWidget->setHighlightedSeries(other);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.centralWidget->highlightedSeries(), -1);

        findAction(window, QStringLiteral("Readout"))->setChecked(false);
        QVERIFY(!status->isVisible());
    }
};

QTEST_MAIN(InquiryXvfbTest)
#include "tst_inquiry_xvfb.moc"
