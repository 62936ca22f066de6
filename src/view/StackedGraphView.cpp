#include "view/StackedGraphView.h"

#include "axis/ThicknessScale.h"
#include "axis/TimeAxisPainter.h"
#include "graph/StackedGraph.h"
#include "graph/ValueFormatter.h"
#include "render/SceneImage.h"
#include "view/OpenGLSupport.h"
#include "view/PixelScale.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Magnification above which the automatic rule wants the OpenGL viewport.
constexpr double autoGLThreshold = 4.0;

// The thickness scale: its distance from the viewport's corner, the room around it, and its tallest bar.
constexpr double overlayMargin = 8.0;
constexpr double overlayPadding = 4.0;
constexpr double tallestOverlayBar = 100.0;
// Behind the axis and the scale, so that they stay legible over the bands.
const QColor overlayBackground(255, 255, 255, 200);
// Width of the tiles the raster viewport draws its layers in. Narrower tiles are faster when zoomed in,
// but Qt's thin lines step a little differently where they cross a tile's edge.
constexpr int viewTileWidth = 256;

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
    // Qt repaints where a removed item was from where it last painted the item itself; the raster
    // viewport paints its layers on its own, so any change of the scene (a rebuild replaces every
    // item) repaints the whole viewport instead.
    if (scene)
        connect(scene, &QGraphicsScene::changed, this, [this] {
            if (!glViewportActive)
                viewport()->update();
        });
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
    fitScene();
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
    fitScene();
}

void StackedGraphView::fitScene() {
    const QRectF rect = sceneRect();
    const QSizeF size(viewport()->size());
    if (!fillsViewport || !(rect.width() > 0.0) || !(rect.height() > 0.0) || size.isEmpty()) {
        fitInView(rect, Qt::KeepAspectRatio);
        return;
    }
    const double scale = qMin(size.width() / rect.width(), size.height() / rect.height());
    if (!std::isfinite(scale) || !(scale > 0.0)) {
        fitInView(rect, Qt::KeepAspectRatio);
        return;
    }
    setTransform(QTransform::fromScale(scale, scale));
    centerOn(rect.center());
}

void StackedGraphView::zoomOnto(const QPointF& scenePoint, double factor) {
    if (std::isfinite(factor) && factor > 0.0 && factor != 1.0)
        zoomBy(factor);
    centerOn(scenePoint);
}

void StackedGraphView::zoomBy(double factor) {
    scale(factor, factor);
    if (OpenGLSupport::hasOpenGL()) {
        pixelScale *= factor;
        // May replace the viewport that delivers a wheel event; Qt no longer touches it once the
        // accepted event returns.
        updateAutoGLViewport();
    }
}

void StackedGraphView::resetPixelScale() {
    if (!OpenGLSupport::hasOpenGL() || !glAvailable)
        return;
    const double newScale = fittedPixelScale();
    if (std::isfinite(newScale) && newScale > 0.0)
        pixelScale = newScale;
    updateAutoGLViewport();
}

double StackedGraphView::fittedPixelScale() {
    auto* graph = qobject_cast<StackedGraph*>(scene());
    if (!graph)
        return NAN;
    // The months the scene's data spans now.
    graph->computeXRange();
    const qint64 span = graph->monthSpan();
    if (span <= 0 || span > MonthRange::maxSpan)
        return NAN;
    return PixelScale::fitted(QSizeF(viewport()->size()), sceneRect(), graph->xRange, int(span));
}

void StackedGraphView::setTimeAxis(bool on) {
    if (on == timeAxis)
        return;
    timeAxis = on;
    // The axis keeps its place while the graph scrolls under it, so a scroll has to repaint the whole
    // viewport instead of moving its pixels.
    if (on) {
        updateModeWithoutAxis = viewportUpdateMode();
        setViewportUpdateMode(FullViewportUpdate);
    } else {
        setViewportUpdateMode(updateModeWithoutAxis);
    }
    viewport()->update();
}

const GraphLayout* StackedGraphView::drawnLayout() const {
    const auto* graph = qobject_cast<const StackedGraph*>(scene());
    if (!graph || !graph->layout().drawable)
        return nullptr;
    return &graph->layout();
}

QRect StackedGraphView::timeAxisRect() const {
    const GraphLayout* layout = drawnLayout();
    if (!timeAxis || !layout)
        return {};
    const int height = int(TimeAxisPainter::height(QFontMetricsF(font())));
    // Along the graph's bottom, but never outside the viewport.
    const double bottom = viewportTransform().map(QPointF(0.0, sceneRect().bottom())).y();
    const double top = std::clamp(bottom, 0.0, std::max(0.0, double(viewport()->height() - height)));
    return QRect(0, int(std::floor(top)), viewport()->width(), height);
}

void StackedGraphView::drawForeground(QPainter* painter, const QRectF& rect) {
    QGraphicsView::drawForeground(painter, rect);
    if (!timeAxis)
        return;
    const GraphLayout* layout = drawnLayout();
    if (!layout)
        return;
    const QTransform toViewport = viewportTransform();
    const double pixelsPerMonth = layout->xScale * toViewport.m11();
    const double pixelsPerUnit = layout->yScale * toViewport.m22();
    if (!std::isfinite(pixelsPerMonth) || !(pixelsPerMonth > 0.0))
        return;
    const QFont textFont = font();
    const TimeAxisPainter axis(textFont, layout->months, toViewport.map(QPointF(0.0, 0.0)).x(),
                               pixelsPerMonth);
    const QRect strip = timeAxisRect();
    QVector<TimeTick> ticks = axis.ticks(0.0, viewport()->width());
    axis.dropLabelsPast(ticks, viewport()->width());
    const double graphTop =
        std::clamp(toViewport.map(QPointF(0.0, sceneRect().top())).y(), 0.0, double(strip.top()));

    painter->save();
    // The overlay is laid out in viewport pixels, whatever the zoom.
    painter->resetTransform();
    axis.paintGrid(*painter, ticks, graphTop, strip.top());
    painter->fillRect(strip, overlayBackground);
    axis.paint(*painter, ticks, strip.top(), 0.0, viewport()->width());

    // A bar no taller than half the graph on screen, so that it reads as a part of the stack.
    const double graphPixels = sceneRect().height() * toViewport.m22();
    const double tallest = std::min(tallestOverlayBar, viewport()->height() / 3.0);
    const double shortest = std::min(QFontMetricsF(textFont).height(), tallest);
    const ValueFormatter values = static_cast<const StackedGraph*>(scene())->valueFormatter();
    const double barPixels = std::clamp(graphPixels / 2.0, shortest, tallest);
    const ThicknessScale::Bar bar =
        layout->shares ? ThicknessScale::shareBar(pixelsPerUnit, barPixels, textFont)
                       : ThicknessScale::bar(pixelsPerUnit, barPixels, textFont,
                                             [&values](double amount) { return values.format(amount, -1); });
    if (!bar.isEmpty()) {
        const QRectF box(overlayMargin, overlayMargin, bar.size.width() + 2.0 * overlayPadding,
                         bar.size.height() + 2.0 * overlayPadding);
        painter->fillRect(box, overlayBackground);
        ThicknessScale::paint(*painter, textFont, box.topLeft() + QPointF(overlayPadding, overlayPadding),
                              bar);
    }
    painter->restore();
}

void StackedGraphView::paintEvent(QPaintEvent* event) {
    if (!paintInTiles(event))
        QGraphicsView::paintEvent(event);
}

bool StackedGraphView::paintInTiles(QPaintEvent* event) {
    if (glViewportActive || !scene())
        return false;
    const QRect exposed = event->region().boundingRect();
    const QRect area = exposed & viewport()->rect();
    if (area.isEmpty())
        return false;
    QPainter painter(viewport());
    // QGraphicsView paints with a painter of its own.
    const auto giveUp = [&painter]() {
        painter.end();
        return false;
    };
    // The layers are drawn in the pixel format of what the viewport paints on, so that antialiasing
    // blends exactly as it would there, and copied one to one.
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
    if (!target || engine->type() != QPaintEngine::Raster || target->devType() != QInternal::Image ||
        target->devicePixelRatio() != 1.0)
        return giveUp();
    const QImage::Format format = static_cast<const QImage*>(target)->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        return giveUp();
    // Kept at the viewport's size between paints, so that scrolling, which repaints strips of every
    // size, allocates nothing; a partial repaint draws into its top-left corner.
    if (tileBuffer.size() != viewport()->size() || tileBuffer.format() != format)
        tileBuffer = QImage(viewport()->size(), format);
    if (tileBuffer.isNull())
        return giveUp();
    QImage buffer(tileBuffer.bits(), area.width(), area.height(), tileBuffer.bytesPerLine(), format);
    // The buffer's pixels are the viewport's, moved to its corner.
    const QTransform toBuffer = viewportTransform() * QTransform::fromTranslate(-area.left(), -area.top());
    const QRectF exposedScene = mapToScene(exposed).boundingRect();
    // What the viewport holds before a view paints on it, so that edges blend against the same pixels.
    if (viewport()->autoFillBackground())
        buffer.fill(viewport()->palette().color(viewport()->backgroundRole()));
    else if (format == QImage::Format_ARGB32_Premultiplied)
        buffer.fill(Qt::transparent);
    else
        return giveUp();
    {
        QPainter background(&buffer);
        background.setRenderHints(renderHints());
        background.setWorldTransform(toBuffer);
        drawBackground(&background, exposedScene);
    }
    // The device the viewport's painter draws on, in the buffer's pixels: the tiles draw as it would.
    const QRect device = painter.deviceTransform()
                             .inverted()
                             .mapRect(QRect(QPoint(0, 0), QSize(target->width(), target->height())))
                             .translated(-area.topLeft());
    // Tiles narrower than the viewport: Qt's antialiasing rasterizer spends on a path the square of its
    // width within the device.
    if (!SceneImage::drawLayers(*scene(), toBuffer, QRectF(), buffer,
                                (area.width() + viewTileWidth - 1) / viewTileWidth, nullptr, device))
        return giveUp();
    painter.drawImage(area.topLeft(), buffer);
    painter.setRenderHints(renderHints());
    painter.setWorldTransform(viewportTransform());
    drawForeground(&painter, exposedScene);
    return true;
}

void StackedGraphView::setTracksPointer(bool on) {
    tracksPointer = on;
    viewport()->setMouseTracking(on);
}

void StackedGraphView::setupViewport(QWidget* widget) {
    QGraphicsView::setupViewport(widget);
    // Qt tracks the pointer only for items that ask for it; a new viewport keeps what was asked.
    if (tracksPointer && widget)
        widget->setMouseTracking(true);
}

QPointF StackedGraphView::scenePointAt(const QPointF& viewportPosition) const {
    return viewportTransform().inverted().map(viewportPosition + QPointF(0.5, 0.5));
}

void StackedGraphView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressPosition = event->position().toPoint();
        pressed = true;
    }
    QGraphicsView::mousePressEvent(event);
}

void StackedGraphView::mouseMoveEvent(QMouseEvent* event) {
    QGraphicsView::mouseMoveEvent(event);
    emit pointerMoved(scenePointAt(event->position()));
}

void StackedGraphView::leaveEvent(QEvent* event) {
    QGraphicsView::leaveEvent(event);
    emit pointerLeft();
}

void StackedGraphView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    emit viewportResized();
}

void StackedGraphView::mouseReleaseEvent(QMouseEvent* event) {
    switch (event->button()) {
    case Qt::LeftButton:
        viewport()->setCursor(Qt::OpenHandCursor);
        if (pressed && (event->position().toPoint() - pressPosition).manhattanLength() <
                           QApplication::startDragDistance())
            emit clicked(scenePointAt(event->position()));
        pressed = false;
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
    zoomBy(1.0 + (angle.y() / 8) / 100.0);
    // The graph moved under a pointer that did not.
    emit pointerMoved(scenePointAt(event->position()));
}
