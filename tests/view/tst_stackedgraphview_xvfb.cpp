#include "data/DataFileReader.h"
#include "graph/StackedGraph.h"
#include "support/PictureCompare.h"
#include "support/SeriesBuilder.h"
#include "support/TestFiles.h"
#include "support/WheelEvents.h"
#include "view/OpenGLSupport.h"
#include "view/StackedGraphView.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QOpenGLWidget>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

// Warnings Qt's painting printed while the test ran.
QStringList paintWarnings;
void recordWarnings(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg && message.contains(QStringLiteral("exceeds")))
        paintWarnings << message;
}

QImage grabbed(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool openGLViewport(const StackedGraphView& view) {
    return qobject_cast<QOpenGLWidget*>(view.viewport()) != nullptr;
}

struct Fixture {
    Fixture() {
        scene.setSceneRect(0, 0, 2000, 1000);
        item = scene.addRect(400, 200, 400, 300, QPen(Qt::NoPen), QBrush(Qt::blue));
        view = std::make_unique<StackedGraphView>(&scene, nullptr);
        view->resize(600, 400);
    }
    QGraphicsScene scene;
    QGraphicsRectItem* item = nullptr;
    std::unique_ptr<StackedGraphView> view;
};

// The graph's own view, sized so that its viewport is exactly 800 × 400 pixels.
struct GraphFixture {
    GraphFixture() {
        view.reset(graph.view);
        view->setFrameShape(QFrame::NoFrame);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->resize(800, 400);
        view->show();
        ready = QTest::qWaitForWindowExposed(view.get());
    }
    // The bundled example at its default width, in the panel's colours.
    bool loadExample() {
        const DataFileResult read = DataFileReader::readFile(exampleDataFile());
        series = read.data.series;
        suffixes = read.data.magnitudeSuffixes;
        graph.computeXRange();
        graph.xRange = 320.0 * graph.monthSpan();
        graph.setMaxColor(QColor(246, 82, 82));
        graph.setMinColor(QColor(255, 246, 75));
        return read.ok();
    }
    bool ready = false;
    QVector<DataSeries> series;
    QString unit;
    bool unitAfterValue = true;
    QVector<QString> suffixes;
    StackedGraph graph{&series, &unit, &unitAfterValue, &suffixes, nullptr};
    // Made without a parent, so the scene does not own it.
    std::unique_ptr<StackedGraphView> view;
};

} // namespace

class StackedGraphViewXvfbTest : public QObject {
    Q_OBJECT
private slots:
    void probeFindsSampleBuffers() {
        QVERIFY(OpenGLSupport::hasOpenGL());
        QVERIFY(OpenGLSupport::probeSampleBuffers());
        QVERIFY(OpenGLSupport::sampleFormat().samples() > 0);
        Fixture f;
        QVERIFY(f.view->glAvailable);
        QVERIFY(!f.view->glViewportActive);
        QVERIFY(!openGLViewport(*f.view));
    }

    void switchesViewportByHand() {
        Fixture f;
        f.view->setGLViewport(true);
        QVERIFY(openGLViewport(*f.view));
        QVERIFY(f.view->glViewportActive);
        QCOMPARE(f.view->viewport()->cursor().shape(), Qt::OpenHandCursor);
        // Every request makes a fresh OpenGL viewport.
        QPointer<QWidget> first = f.view->viewport();
        f.view->setGLViewport(true);
        QVERIFY(!first);
        QVERIFY(openGLViewport(*f.view));

        f.view->setGLViewport(false);
        QVERIFY(!openGLViewport(*f.view));
        QVERIFY(!f.view->glViewportActive);
        QCOMPARE(f.view->viewport()->cursor().shape(), Qt::OpenHandCursor);
    }

    void automaticRuleFollowsWheelZoom() {
        Fixture f;
        f.view->show();
        f.view->setAutoGLViewport(true);
        QVERIFY(!openGLViewport(*f.view));
        // 1.15^9 ≈ 3.52 stays plain, 1.15^10 ≈ 4.05 switches.
        for (int step = 1; step <= 9; ++step) {
            sendWheel(f.view->viewport(), QPoint(0, 120));
            QVERIFY2(!openGLViewport(*f.view), qPrintable(QString::number(step)));
        }
        sendWheel(f.view->viewport(), QPoint(0, 120));
        QCOMPARE(f.view->pixelScale, std::pow(1.15, 10));
        QVERIFY(openGLViewport(*f.view));
        QVERIFY(f.view->glViewportActive);
        // The zoom carries over to the new viewport.
        QCOMPARE(f.view->transform().m11(), std::pow(1.15, 10));
        sendWheel(f.view->viewport(), QPoint(0, 120));
        QVERIFY(openGLViewport(*f.view));
        // 1.15^11 × 0.85 ≈ 3.95: the first step back to 4 or below switches back.
        sendWheel(f.view->viewport(), QPoint(0, -120));
        QVERIFY(!openGLViewport(*f.view));
        QVERIFY(!f.view->glViewportActive);
    }

    void thresholdIsFourBothWays() {
        Fixture f;
        f.view->autoGL = true;
        f.view->pixelScale = 4.0;
        f.view->updateAutoGLViewport();
        QVERIFY(!openGLViewport(*f.view));
        f.view->pixelScale = 4.0001;
        f.view->updateAutoGLViewport();
        QVERIFY(openGLViewport(*f.view));
        f.view->pixelScale = 4.0;
        f.view->updateAutoGLViewport();
        QVERIFY(!openGLViewport(*f.view));
    }

    void automaticRuleNeedsAutoGL() {
        Fixture f;
        f.view->pixelScale = 10.0;
        f.view->updateAutoGLViewport();
        QVERIFY(!openGLViewport(*f.view));
        f.view->setAutoGLViewport(true);
        QVERIFY(openGLViewport(*f.view));
        // Switching the rule off leaves the viewport as it is.
        f.view->setAutoGLViewport(false);
        f.view->pixelScale = 1.0;
        f.view->updateAutoGLViewport();
        QVERIFY(openGLViewport(*f.view));
    }

    void paintsThroughOpenGL() {
        Fixture f;
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        f.view->setGLViewport(true);
        f.view->showWholeGraph();
        QCoreApplication::processEvents();
        QVERIFY(openGLViewport(*f.view));
        const QPoint onItem =
            f.view->viewport()->mapTo(f.view.get(), f.view->mapFromScene(QPointF(600, 350)));
        const QPoint background =
            f.view->viewport()->mapTo(f.view.get(), f.view->mapFromScene(QPointF(1500, 800)));
        // What reaches the window; grabbing an OpenGL widget itself does not show what a view drew on it.
        QImage shot;
        QTRY_VERIFY_WITH_TIMEOUT((shot = f.view->screen()->grabWindow(f.view->winId()).toImage(),
                                  QColor(shot.pixel(onItem)) == QColor(Qt::blue)),
                                 5000);
        QCOMPARE(QColor(shot.pixel(background)), QColor(Qt::white));
    }

    // Fitted into 800 × 400 pixels; with X / (320 × N) = r the scale is d × r / (A × 400).
    void pixelScaleOfTheFittedGraph_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<double>("xRange");
        QTest::addColumn<QRectF>("sceneRect");
        QTest::addColumn<double>("expected");
        const QString tenMonths = QStringLiteral("2000.1:1 2000.2:1 2000.3:1 2000.4:1 2000.5:1 2000.6:1 "
                                                 "2000.7:1 2000.8:1 2000.9:1 2000.10:1 2000.11:1");
        // Square scene: height-bound, 400 × 400 pixels.
        QTest::newRow("square") << tenMonths << 3200.0 << QRectF(0, 0, 1000, 1000)
                                << std::hypot(400.0, 400.0) / 400.0;
        QTest::newRow("x range truncated")
            << tenMonths << 6400.9 << QRectF(0, 0, 1000, 1000) << std::hypot(400.0, 400.0) * 2.0 / 400.0;
        // Wide scene: width-bound, 800 × 200 pixels.
        QTest::newRow("wide") << tenMonths << 3200.0 << QRectF(0, -500, 4000, 1000)
                              << std::hypot(800.0, 200.0) / (4.0 * 400.0);
    }
    void pixelScaleOfTheFittedGraph() {
        QFETCH(QString, data);
        QFETCH(double, xRange);
        QFETCH(QRectF, sceneRect);
        QFETCH(double, expected);
        GraphFixture f;
        QVERIFY(f.ready);
        f.series = {seriesFromText(QStringLiteral("a"), data)};
        f.graph.xRange = xRange;
        f.graph.computeXRange();
        QCOMPARE(f.graph.monthSpan(), 10);
        f.graph.setSceneRect(sceneRect);
        QCOMPARE(f.view->viewport()->size(), QSize(800, 400));
        f.view->resetPixelScale();
        QCOMPARE(f.view->pixelScale, expected);
    }

    void pixelScaleKeepsItsValueWithoutAnAnswer_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QRectF>("sceneRect");
        QTest::newRow("empty scene rectangle") << QStringLiteral("2000.1:1 2000.2:1") << QRectF(0, 0, 0, 0);
        QTest::newRow("flat scene rectangle") << QStringLiteral("2000.1:1 2000.2:1") << QRectF(0, 0, 100, 0);
        QTest::newRow("one month") << QStringLiteral("2000.1:1") << QRectF(0, 0, 100, 100);
    }
    void pixelScaleKeepsItsValueWithoutAnAnswer() {
        QFETCH(QString, data);
        QFETCH(QRectF, sceneRect);
        GraphFixture f;
        f.series = {seriesFromText(QStringLiteral("a"), data)};
        f.graph.setSceneRect(sceneRect);
        f.view->pixelScale = 2.5;
        f.view->resetPixelScale();
        QCOMPARE(f.view->pixelScale, 2.5);
    }

    // Zoomed in far at the centre, with both kinds of viewport: the bands stay filled.
    void deepZoomStaysFilled_data() {
        QTest::addColumn<bool>("openGL");
        QTest::addColumn<int>("notches");
        for (bool openGL : {false, true})
            for (int notches : {30, 60})
                QTest::addRow("%s, %d notches", openGL ? "OpenGL" : "raster", notches) << openGL << notches;
    }
    void deepZoomStaysFilled() {
        QFETCH(bool, openGL);
        QFETCH(int, notches);
        paintWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordWarnings);
        const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
        GraphFixture f;
        QVERIFY(f.ready);
        QVERIFY(f.loadExample());
        // Centred on zero, so that the middle of the view is inside the stack at every zoom.
        f.graph.setBaselineAlgo(1);
        f.view->setGLViewport(openGL);
        f.view->showWholeGraph();
        QCoreApplication::processEvents();
        for (int i = 0; i < notches; ++i)
            sendWheel(f.view->viewport(), QPoint(0, 120));
        QImage shot;
        int white = 0;
        // What reaches the window; an OpenGL viewport cannot be grabbed by itself.
        for (int attempt = 0; attempt < 50; ++attempt) {
            QTest::qWait(100);
            shot = f.view->screen()->grabWindow(f.view->winId()).toImage();
            white = 0;
            for (int y = 0; y < shot.height(); y += 4)
                for (int x = 0; x < shot.width(); x += 4)
                    white += shot.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
            if (white * 10 < (shot.width() / 4) * (shot.height() / 4))
                break;
        }
        shot.save(QStringLiteral(STACKEDGRAPH_BINARY_DIR "/deep-zoom-%1-%2.png")
                      .arg(openGL ? QStringLiteral("opengl") : QStringLiteral("raster"))
                      .arg(notches));
        QCOMPARE(f.view->glViewportActive, openGL);
        QVERIFY2(white * 10 < (shot.width() / 4) * (shot.height() / 4),
                 qPrintable(QStringLiteral("%1 white samples").arg(white)));
        QCOMPARE(paintWarnings, QStringList());
    }

    // The axis is drawn along the graph's bottom, inside the viewport, after fitting, zooming and
    // panning; what reaches the screen is what a full repaint draws, so no scrolled copy of the axis
    // is left behind.
    void timeAxisFollowsTheView_data() {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("pan");
        QTest::newRow("fitted") << 0 << 0;
        QTest::newRow("zoomed out") << -5 << 0;
        QTest::newRow("zoomed in") << 25 << 0;
        QTest::newRow("zoomed in and panned") << 25 << 300;
    }
    void timeAxisFollowsTheView() {
        QFETCH(int, notches);
        QFETCH(int, pan);
        GraphFixture f;
        QVERIFY(f.ready);
        QVERIFY(f.loadExample());
        f.view->setTimeAxis(true);
        f.view->showWholeGraph();
        QCoreApplication::processEvents();
        for (int i = 0; i < std::abs(notches); ++i)
            sendWheel(f.view->viewport(), QPoint(0, notches > 0 ? 120 : -120));
        // What reaches the screen, once it shows what a full repaint draws.
        QImage shot;
        const auto onScreen = [&] {
            const QImage repainted = grabbed(f.view->viewport());
            QTRY_COMPARE_WITH_TIMEOUT((shot = f.view->screen()
                                                  ->grabWindow(f.view->winId())
                                                  .toImage()
                                                  .convertToFormat(QImage::Format_RGB32)),
                                      repainted, 5000);
        };
        onScreen();
        QScrollBar* scrollBar = f.view->horizontalScrollBar();
        scrollBar->setValue(scrollBar->value() + pan);
        onScreen();
        if (QTest::currentTestFailed())
            return;
        const QRect strip = f.view->timeAxisRect();
        QVERIFY(!strip.isEmpty());
        QVERIFY(f.view->viewport()->rect().contains(strip));
        QVERIFY2(darkPixels(shot, strip) > 40, qPrintable(QString::number(darkPixels(shot, strip))));
    }

    // After a rebuild, a zoom or a pan, what reaches the screen is what a full repaint draws: nothing of
    // the graph before is left behind, wherever the view repaints only part of itself. (A scrolled copy
    // may differ from a repaint by a level or two where antialiased edges cross.)
    void screenShowsTheGraphAsItIsNow_data() {
        QTest::addColumn<int>("notches");
        QTest::addColumn<int>("pan");
        QTest::addColumn<int>("widthPercent"); // of the graph's width after the first paint; 0: no series
        QTest::newRow("narrower") << 0 << 0 << 40;
        QTest::newRow("wider") << 0 << 0 << 160;
        QTest::newRow("zoomed in, narrower") << 12 << 0 << 70;
        QTest::newRow("zoomed in, emptied") << 12 << 0 << 0;
        QTest::newRow("zoomed in and panned") << 12 << 250 << 100;
    }
    void screenShowsTheGraphAsItIsNow() {
        QFETCH(int, notches);
        QFETCH(int, pan);
        QFETCH(int, widthPercent);
        GraphFixture f;
        QVERIFY(f.ready);
        QVERIFY(f.loadExample());
        f.view->showWholeGraph();
        QCoreApplication::processEvents();
        for (int i = 0; i < notches; ++i)
            sendWheel(f.view->viewport(), QPoint(0, 120));
        QTest::qWait(100);
        if (widthPercent > 0) {
            f.graph.setXRange(int(f.graph.xRange) * widthPercent / 100);
        } else {
            f.series.clear();
            f.graph.makeStackedGraph();
        }
        QScrollBar* scrollBar = f.view->horizontalScrollBar();
        scrollBar->setValue(scrollBar->value() + pan);
        const QImage repainted = grabbed(f.view->viewport());
        PictureDifference difference;
        for (int attempt = 0; attempt < 50; ++attempt) {
            QTest::qWait(100);
            difference = comparePictures(
                f.view->screen()->grabWindow(f.view->winId()).toImage().convertToFormat(QImage::Format_RGB32),
                repainted);
            if (difference.largest <= 8 && difference.differing * 10000 <= difference.pixels)
                break;
        }
        QVERIFY2(difference.largest <= 8 && difference.differing * 10000 <= difference.pixels,
                 qPrintable(difference.text()));
    }

    void timeAxisOffLeavesTheViewAsItWas() {
        GraphFixture f;
        QVERIFY(f.ready);
        QVERIFY(f.loadExample());
        f.view->showWholeGraph();
        QCoreApplication::processEvents();
        const QImage before = grabbed(f.view->viewport());
        const QGraphicsView::ViewportUpdateMode mode = f.view->viewportUpdateMode();
        QVERIFY(f.view->timeAxisRect().isEmpty());
        f.view->setTimeAxis(true);
        QVERIFY(grabbed(f.view->viewport()) != before);
        f.view->setTimeAxis(false);
        QCOMPARE(grabbed(f.view->viewport()), before);
        QCOMPARE(f.view->viewportUpdateMode(), mode);
        QVERIFY(f.view->timeAxisRect().isEmpty());
    }
};

QTEST_MAIN(StackedGraphViewXvfbTest)
#include "tst_stackedgraphview_xvfb.moc"
