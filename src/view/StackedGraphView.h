#pragma once

#include <QGraphicsView>
#include <QPoint>

#include <QGraphicsItem>
#include <QImage>
#include <QRect>
class QGraphicsScene;
struct GraphLayout;

// The zoomable, pannable view of one graph, with a switchable OpenGL viewport.
class StackedGraphView : public QGraphicsView {
    Q_OBJECT
public:
    StackedGraphView(QGraphicsScene* scene, QWidget* parent);
    ~StackedGraphView() override;

    void updateAutoGLViewport();

    bool glAvailable = false;
    bool glViewportActive = false;
    bool autoGL = false;
    double pixelScale = 1.0;
    // A time axis along the graph's bottom and a thickness scale, drawn over the graph; off at start.
    bool timeAxis = false;

    // Fits the scene rectangle to the viewport with no margin, so that a graph of the viewport's
    // proportions fills it edge to edge; off at start (the standard fit keeps a margin).
    bool fillsViewport = false;

    // Where the time axis lies in the viewport, in pixels; empty while it is off or nothing is drawn.
    QRect timeAxisRect() const;
    // Whether pointerMoved is emitted for moves without a button held; off at start.
    void setTracksPointer(bool on);
    // Zooms by factor as a wheel step would (pixel scale and the automatic OpenGL rule included) and
    // centres the scene point.
    void zoomOnto(const QPointF& scenePoint, double factor);

signals:
    void toolTipChanged(QGraphicsItem* item, QPoint pos);
    // The pointer is over the viewport at this scene point (the middle of its pixel), or has left it.
    void pointerMoved(const QPointF& scenePoint);
    void pointerLeft();
    // The left button was pressed and released without a drag.
    void clicked(const QPointF& scenePoint);
    // The viewport has a new size.
    void viewportResized();

public slots:
    void showWholeGraph();
    void setGLViewport(bool openGL);
    void setAutoGLViewport(bool autoGL);
    void resetView();
    void resetPixelScale();
    void setTimeAxis(bool on);

protected:
    void setupViewport(QWidget* widget) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The magnification of the whole graph fitted into the viewport, or NaN when the
    // viewport, the scene rectangle or the month span gives no answer.
    double fittedPixelScale();
    // The layout the scene drew, or nullptr when it drew nothing.
    const GraphLayout* drawnLayout() const;
    // The scene point in the middle of a viewport pixel.
    QPointF scenePointAt(const QPointF& viewportPosition) const;
    // fitInView, or the margin-free fit while the view fills its viewport.
    void fitScene();
    // One zoom step: the scale, the pixel scale and the automatic OpenGL rule.
    void zoomBy(double factor);

    // Paints what the event exposes as QGraphicsView would, with the layers drawn in tiles on every core;
    // false, with nothing painted, when the viewport or the scene does not allow it.
    bool paintInTiles(QPaintEvent* event);

    ViewportUpdateMode updateModeWithoutAxis = MinimalViewportUpdate;
    // The exposed pixels, drawn before they go to the viewport; viewport-sized, kept between paints.
    QImage tileBuffer;
    // Where the left button went down, to tell a click from a drag.
    QPoint pressPosition;
    bool pressed = false;
    bool tracksPointer = false;
};
