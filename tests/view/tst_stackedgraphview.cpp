#include "support/WheelEvents.h"
#include "view/OpenGLSupport.h"
#include "view/StackedGraphView.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {

// A scene wider than the view, with one layer-like item away from the origin.
struct Fixture {
    Fixture() {
        scene.setSceneRect(0, 0, 2000, 1000);
        item = scene.addRect(400, 200, 200, 100, QPen(Qt::NoPen), QBrush(Qt::blue));
        view = std::make_unique<StackedGraphView>(&scene, nullptr);
        view->resize(600, 400);
        view->show();
    }
    QGraphicsScene scene;
    QGraphicsRectItem* item = nullptr;
    std::unique_ptr<StackedGraphView> view;
};

} // namespace

class StackedGraphViewTest : public QObject {
    Q_OBJECT
private slots:
    void wheelZooms_data() {
        QTest::addColumn<QList<int>>("deltas");
        QTest::addColumn<double>("scale");
        QTest::newRow("one notch forward") << QList<int>{120} << 1.15;
        QTest::newRow("one notch back") << QList<int>{-120} << 0.85;
        QTest::newRow("forward and back") << QList<int>{120, -120} << 1.15 * 0.85;
        QTest::newRow("two notches") << QList<int>{120, 120} << 1.15 * 1.15;
        QTest::newRow("delta 7 is no zoom") << QList<int>{7} << 1.0;
        QTest::newRow("delta -7 is no zoom") << QList<int>{-7} << 1.0;
        QTest::newRow("delta 8 is one percent") << QList<int>{8} << 1.01;
        QTest::newRow("delta 15 truncates") << QList<int>{15} << 1.01;
        QTest::newRow("delta -15 truncates toward zero") << QList<int>{-15} << 0.99;
    }
    void wheelZooms() {
        QFETCH(QList<int>, deltas);
        QFETCH(double, scale);
        Fixture f;
        for (const int delta : deltas)
            sendWheel(f.view->viewport(), QPoint(0, delta));
        QCOMPARE(f.view->transform().m11(), scale);
        QCOMPARE(f.view->transform().m22(), scale);
    }

    void horizontalWheelNeitherZoomsNorScrolls() {
        Fixture f;
        QScrollBar* bar = f.view->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum() / 2);
        const int start = bar->value();
        sendWheel(f.view->viewport(), QPoint(120, 0));
        sendWheel(f.view->viewport(), QPoint(-240, 10));
        QCOMPARE(f.view->transform().m11(), 1.0);
        QCOMPARE(bar->value(), start);
    }

    void rightClickAsksForToolTipOnItemsOnly() {
        Fixture f;
        QSignalSpy spy(f.view.get(), &StackedGraphView::toolTipChanged);
        const QPoint background = f.view->mapFromScene(QPointF(100, 100));
        QTest::mouseClick(f.view->viewport(), Qt::RightButton, Qt::NoModifier, background);
        QCOMPARE(spy.count(), 0);

        const QPoint onItem = f.view->mapFromScene(QPointF(500, 250));
        QTest::mouseClick(f.view->viewport(), Qt::RightButton, Qt::NoModifier, onItem);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QGraphicsItem*>(), f.item);
        QCOMPARE(spy.at(0).at(1).toPoint(), f.view->viewport()->mapToGlobal(onItem));

        // Other buttons never ask.
        QTest::mouseClick(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, onItem);
        QTest::mouseClick(f.view->viewport(), Qt::MiddleButton, Qt::NoModifier, onItem);
        QCOMPARE(spy.count(), 1);
    }

    void middleClickFitsWholeGraph() {
        Fixture f;
        // Fitting hides the scroll bars, which changes the viewport; the second fit settles.
        f.view->fitInView(f.scene.sceneRect(), Qt::KeepAspectRatio);
        QCoreApplication::processEvents();
        f.view->fitInView(f.scene.sceneRect(), Qt::KeepAspectRatio);
        const double fitted = f.view->transform().m11();
        f.view->scale(3, 3);
        f.view->horizontalScrollBar()->setValue(f.view->horizontalScrollBar()->maximum());
        QTest::mouseClick(f.view->viewport(), Qt::MiddleButton, Qt::NoModifier, QPoint(10, 10));
        QVERIFY(f.view->transform().m11() < 1.0);
        QCoreApplication::processEvents();
        QCOMPARE(f.view->transform().m11(), fitted);
        const QRect shown = f.view->mapFromScene(f.scene.sceneRect()).boundingRect();
        QVERIFY(f.view->viewport()->rect().adjusted(-1, -1, 1, 1).contains(shown));
    }

    void leftReleaseShowsOpenHandAndEndsDragging() {
        Fixture f;
        f.view->viewport()->setCursor(Qt::ArrowCursor);
        QScrollBar* bar = f.view->horizontalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const QPoint start(300, 200);
        QTest::mousePress(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(f.view->viewport(), start + QPoint(-50, 0));
        const int dragged = bar->value();
        QVERIFY(dragged != bar->maximum() / 2);
        QTest::mouseRelease(f.view->viewport(), Qt::LeftButton, Qt::NoModifier, start + QPoint(-50, 0));
        QCOMPARE(f.view->viewport()->cursor().shape(), Qt::OpenHandCursor);
        // Moving without a button afterwards must not keep panning.
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(-150, 0)),
                         f.view->viewport()->mapToGlobal(QPointF(start + QPoint(-150, 0))), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(f.view->viewport(), &move);
        QCOMPARE(bar->value(), dragged);
    }

    void withoutOpenGLNothingSwitches() {
        QVERIFY(!OpenGLSupport::hasOpenGL());
        QVERIFY(!OpenGLSupport::probeSampleBuffers());
        Fixture f;
        QVERIFY(!f.view->glAvailable);
        QWidget* viewport = f.view->viewport();
        f.view->setGLViewport(true);
        f.view->setAutoGLViewport(true);
        QVERIFY(f.view->autoGL);
        for (int i = 0; i < 20; ++i)
            sendWheel(f.view->viewport(), QPoint(0, 120));
        f.view->resetPixelScale();
        f.view->showWholeGraph();
        QCoreApplication::processEvents();
        QCOMPARE(f.view->viewport(), viewport);
        QVERIFY(!f.view->glViewportActive);
        QCOMPARE(f.view->pixelScale, 1.0);
    }
};

QTEST_MAIN(StackedGraphViewTest)
#include "tst_stackedgraphview.moc"
