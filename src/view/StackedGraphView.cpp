#include "view/StackedGraphView.h"

#include "graph/StackedGraph.h"
#include "view/OpenGLSupport.h"
#include "view/PixelScale.h"

#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace {

// Magnification above which the automatic rule wants the OpenGL viewport.
constexpr double autoGLThreshold = 4.0;

} // namespace

StackedGraphView::StackedGraphView(QGraphicsScene* scene, QWidget* parent)
    : QGraphicsView(scene, parent) {
    setRenderHint(QPainter::Antialiasing, true);
    setBackgroundBrush(QBrush(Qt::white, Qt::SolidPattern));
    setDragMode(QGraphicsView::ScrollHandDrag);
    setMinimumSize(480, 300);
    // The graph takes no drops; a file dropped on it goes on to the window, which loads it.
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    glAvailable = false;
    glViewportActive = false;
    autoGL = false;
    pixelScale = 1.0;
    if (OpenGLSupport::hasOpenGL())
        glAvailable = OpenGLSupport::probeSampleBuffers();
}

StackedGraphView::~StackedGraphView() = default;

void StackedGraphView::updateAutoGLViewport() {
    if (!OpenGLSupport::hasOpenGL() || !glAvailable || !autoGL)
        return;
    if (!glViewportActive && pixelScale > autoGLThreshold)
        setGLViewport(true);
    else if (glViewportActive && pixelScale <= autoGLThreshold)
        setGLViewport(false);
}

void StackedGraphView::showWholeGraph() {
    fitInView(sceneRect(), Qt::KeepAspectRatio);
    // The first fit may run before the layout has given the view its final size.
    QTimer::singleShot(0, this, &StackedGraphView::resetView);
    QTimer::singleShot(0, this, &StackedGraphView::resetPixelScale);
}

void StackedGraphView::setGLViewport(bool openGL) {
    if (!OpenGLSupport::hasOpenGL() || !glAvailable)
        return;
    if (openGL) {
        auto* widget = new QOpenGLWidget;
        widget->setFormat(OpenGLSupport::sampleFormat());
        setViewport(widget);
        glViewportActive = true;
    } else {
        setViewport(nullptr);
        glViewportActive = false;
    }
    viewport()->setAcceptDrops(false);
    // A new viewport starts with the arrow cursor; hand dragging should still look like it.
    if (dragMode() == QGraphicsView::ScrollHandDrag)
        viewport()->setCursor(Qt::OpenHandCursor);
}

void StackedGraphView::setAutoGLViewport(bool autoGL) {
    this->autoGL = autoGL;
    updateAutoGLViewport();
}

void StackedGraphView::resetView() {
    fitInView(sceneRect(), Qt::KeepAspectRatio);
}

void StackedGraphView::resetPixelScale() {
    if (!OpenGLSupport::hasOpenGL() || !glAvailable)
        return;
    const double newScale = fittedPixelScale();
    if (std::isfinite(newScale) && newScale > 0.0)
        pixelScale = newScale;
    updateAutoGLViewport();
}

double StackedGraphView::fittedPixelScale() const {
    // The scene is only read: its width and the months its data spans now.
    const auto* graph = qobject_cast<const StackedGraph*>(scene());
    if (!graph)
        return NAN;
    const qint64 span = MonthRange::ofSeries(*graph->series).span();
    if (span <= 0 || span > MonthRange::maxSpan)
        return NAN;
    return PixelScale::fitted(QSizeF(viewport()->size()), sceneRect(), graph->xRange, int(span));
}

void StackedGraphView::mouseReleaseEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        viewport()->setCursor(Qt::OpenHandCursor);
        break;
    case Qt::RightButton:
        if (QGraphicsItem* item = itemAt(event->position().toPoint()))
            emit toolTipChanged(item, event->globalPosition().toPoint());
        break;
    case Qt::MiddleButton:
        showWholeGraph();
        break;
    default:
        break;
    }
}

void StackedGraphView::wheelEvent(QWheelEvent* event) {
    // A wheel turn counts as horizontal when its horizontal part dominates.
    const QPoint angle = event->angleDelta();
    if (std::abs(angle.x()) > std::abs(angle.y()))
        return;
    const double factor = 1.0 + (angle.y() / 8) / 100.0;
    scale(factor, factor);
    if (OpenGLSupport::hasOpenGL()) {
        pixelScale *= factor;
        // May replace the viewport that delivers this event; Qt no longer touches it once the
        // accepted event returns from here.
        updateAutoGLViewport();
    }
}
