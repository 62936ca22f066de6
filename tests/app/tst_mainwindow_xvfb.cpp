#include "app/MainWindow.h"
#include "graph/StackedGraph.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"
#include "support/WheelEvents.h"
#include "view/OpenGLSupport.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QOpenGLWidget>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>

namespace {

const QString example = exampleDataFile();

bool usesOpenGL(StackedGraphWidget* graph) {
    return qobject_cast<QOpenGLWidget*>(graph->stackedGraph->view->viewport()) != nullptr;
}

// A viewport point over a layer item, found by sampling the view.
QPoint pointOnALayer(StackedGraphView* view, QGraphicsItem** found) {
    const QSize size = view->viewport()->size();
    for (int y = size.height() / 2; y < size.height(); y += 7)
        for (int x = size.width() / 3; x < size.width(); x += 11)
            if (QGraphicsItem* item = view->itemAt(x, y)) {
                *found = item;
                return QPoint(x, y);
            }
    *found = nullptr;
    return QPoint();
}

} // namespace

class MainWindowXvfbTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!OpenGLSupport::hasOpenGL() || !OpenGLSupport::probeSampleBuffers())
            QSKIP("This X server offers no OpenGL with sample buffers.");
    }

    void openGLStartsAutomatic() {
        MainWindow window;
        QAction* autoGL = findAction(window, QStringLiteral("Auto OpenGL"));
        QAction* gl = findAction(window, QStringLiteral("OpenGL"));
        QVERIFY(autoGL->isEnabled() && autoGL->isChecked());
        QVERIFY(!gl->isEnabled() && gl->isChecked());
        // The automatic rule at pixel scale 1 switched both back to plain viewports.
        for (StackedGraphWidget* graph :
             {window.centralWidget->mainGraph, window.centralWidget->compareGraph}) {
            QVERIFY(graph->stackedGraph->view->autoGL);
            QVERIFY(!graph->stackedGraph->view->glViewportActive);
            QVERIFY(!usesOpenGL(graph));
        }

        autoGL->setChecked(false);
        QVERIFY(gl->isEnabled() && !gl->isChecked());
        gl->setChecked(true);
        for (StackedGraphWidget* graph :
             {window.centralWidget->mainGraph, window.centralWidget->compareGraph}) {
            QVERIFY(!graph->stackedGraph->view->autoGL);
            QVERIFY(usesOpenGL(graph));
        }
        // Without the automatic rule the OpenGL viewport stays, whatever the zoom.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (int i = 0; i < 3; ++i)
            sendWheel(window.centralWidget->mainGraph->stackedGraph->view->viewport(), QPoint(0, -120));
        QVERIFY(usesOpenGL(window.centralWidget->mainGraph));
        gl->setChecked(false);
        QVERIFY(!usesOpenGL(window.centralWidget->mainGraph));
        QVERIFY(!usesOpenGL(window.centralWidget->compareGraph));
    }

    // Drives the whole window as a person would and keeps a screenshot to look at.
    void endToEnd() {
        FakeDialogs dialogs;
        MainWindow window;
        window.resize(1600, 1000);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialogs.openAnswer = example;
        findAction(window, QStringLiteral("Load Data"))->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph (unemployment-by-industry)"));
        findAction(window, QStringLiteral("Compare Graph"))->setChecked(true);
        window.centralWidget->compareGraph->baselineBox->setCurrentIndex(1);
        QTest::qWait(200);

        StackedGraphView* view = window.centralWidget->mainGraph->stackedGraph->view;
        const QTransform before = view->transform();
        sendWheel(view->viewport(), QPoint(0, 120));
        QCOMPARE(view->transform().m11(), before.m11() * 1.15);
        sendWheel(view->viewport(), QPoint(0, -120));

        QGraphicsItem* item = nullptr;
        const QPoint point = pointOnALayer(view, &item);
        QVERIFY(item);
        QTest::mouseClick(view->viewport(), Qt::RightButton, Qt::NoModifier, point);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(QStringLiteral("Total:\t")));
        QTest::qWait(300); // let the tool tip window paint before the screen is grabbed

        QDir().mkpath(QStringLiteral(STACKEDGRAPH_BINARY_DIR "/screenshots"));
        const QString shot = QStringLiteral(STACKEDGRAPH_BINARY_DIR "/screenshots/main-window.png");
        // The whole screen, so the tool tip window is in the picture too.
        QVERIFY(window.screen()->grabWindow(0).save(shot));
        qInfo("screenshot: %s", qPrintable(shot));
    }

    void theProgramStartsWithAFile() {
        QProcess process;
        process.start(QStringLiteral(STACKEDGRAPH_BINARY_DIR "/src/stackedgraph"), {example});
        QVERIFY(process.waitForStarted());
        // Still up after the window had time to come up: no crash at start.
        QVERIFY(!process.waitForFinished(3000));
        process.terminate();
        QVERIFY(process.waitForFinished(5000));
    }
};

QTEST_MAIN(MainWindowXvfbTest)
#include "tst_mainwindow_xvfb.moc"
