#include "app/MainWindow.h"
#include "graph/StackedGraph.h"
#include "support/FakeDialogs.h"
#include "support/LayerPixels.h"
#include "support/TestFiles.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/GraphProbe.h"
#include "widgets/SeriesListDock.h"
#include "widgets/SeriesListModel.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QCursor>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>

// The View menu's Readout, Series List and Fill Window in a real window, with the pointer moved by the
// X server.
namespace {

QAction* entry(MainWindow& window, const QString& text) {
    for (QAction* action : window.menuBar()->actions().at(1)->menu()->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

int brightness(const QImage& image, const QPoint& pixel) {
    return qGray(image.pixel(pixel));
}

} // namespace

class InquiryXvfbTest : public QObject {
    Q_OBJECT
private slots:
    void entriesStartOffAndAddNothing() {
        MainWindow window;
        const QList<QAction*> entries = window.menuBar()->actions().at(1)->menu()->actions();
        QVERIFY(entries.size() >= 4);
        QVERIFY(entries[entries.size() - 4]->isSeparator());
        QStringList texts;
        for (int i = int(entries.size()) - 3; i < entries.size(); ++i) {
            QVERIFY(entries[i]->isCheckable() && !entries[i]->isChecked());
            texts << entries[i]->text();
        }
        QCOMPARE(texts, QStringList({QStringLiteral("Readout"), QStringLiteral("Series List"),
                                     QStringLiteral("Fill Window")}));
        QVERIFY(!window.findChild<QStatusBar*>());
        QVERIFY(!window.findChild<QDockWidget*>());
    }

    void pointerClickAndFill() {
        FakeDialogs dialogs;
        MainWindow window;
        window.setGeometry(window.screen()->availableGeometry());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.loadFile(exampleDataFile()));
        entry(window, QStringLiteral("Readout"))->setChecked(true);
        entry(window, QStringLiteral("Fill Window"))->setChecked(true);
        QStatusBar* status = window.findChild<QStatusBar*>();
        QVERIFY(status && status->isVisible());
        StackedGraph* graph = window.centralWidget->mainGraph->stackedGraph;
        StackedGraphView* view = graph->view;
        QTest::qWait(100);

        // Filled: the graph spans the viewport in one direction to within a pixel and fits the other.
        const QRectF shown = view->mapFromScene(graph->sceneRect()).boundingRect();
        const QSize port = view->viewport()->size();
        QVERIFY2(qAbs(shown.width() - port.width()) <= 1.0 || qAbs(shown.height() - port.height()) <= 1.0,
                 qPrintable(QStringLiteral("%1 x %2 in %3 x %4")
                                .arg(shown.width())
                                .arg(shown.height())
                                .arg(port.width())
                                .arg(port.height())));
        QVERIFY(shown.width() <= port.width() + 1.0 && shown.height() <= port.height() + 1.0);

        // The X server moves the pointer; the status bar names the layer under it.
        int series = -1;
        const QPoint pixel = pixelInsideALayer(graph, window.centralWidget->probe(0), &series);
        QVERIFY(series >= 0);
        QCursor::setPos(view->viewport()->mapToGlobal(pixel));
        const QString name = window.centralWidget->series[series].name;
        QTRY_VERIFY2(status->currentMessage().startsWith(name + QStringLiteral(" \u00b7 ")),
                     qPrintable(status->currentMessage()));

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
        // Esc ends it.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.centralWidget->highlightedSeries(), -1);

        // Readout off: no status bar, and the pointer writes nothing.
        entry(window, QStringLiteral("Readout"))->setChecked(false);
        QVERIFY(!status->isVisible());
    }

    // The list filtered, two series unchecked: both graphs leave them out; closing the list shows them again.
    void seriesListHides() {
        FakeDialogs dialogs;
        MainWindow window;
        window.resize(1400, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.loadFile(exampleDataFile()));
        entry(window, QStringLiteral("Series List"))->setChecked(true);
        auto* dock = window.findChild<SeriesListDock*>();
        QVERIFY(dock && dock->isVisible());
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(dock->filterField()->hasFocus());
        QTest::keyClicks(dock->filterField(), QStringLiteral("IN"));
        QAbstractItemModel* rows = dock->view()->model();
        QVERIFY(rows->rowCount() >= 2 && rows->rowCount() < int(window.centralWidget->series.size()));
        for (int row : {0, 1})
            QVERIFY(rows->setData(rows->index(row, 0), Qt::Unchecked, Qt::CheckStateRole));
        for (StackedGraphWidget* graph :
             {window.centralWidget->mainGraph, window.centralWidget->compareGraph})
            QCOMPARE(graph->stackedGraph->stackingOrder().size(), window.centralWidget->series.size() - 2);
        entry(window, QStringLiteral("Series List"))->setChecked(false);
        QVERIFY(!dock->isVisible());
        QVERIFY(window.centralWidget->mainGraph->hiddenSeries().isEmpty());
    }
};

QTEST_MAIN(InquiryXvfbTest)
#include "tst_inquiry_xvfb.moc"
