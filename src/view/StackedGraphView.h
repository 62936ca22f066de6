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

    // Where the time axis lies in the viewport, in pixels; empty while it is off or nothing is drawn.
    QRect timeAxisRect() const;

signals:
    void toolTipChanged(QGraphicsItem* item, QPoint pos);

public slots:
    void showWholeGraph();
    void setGLViewport(bool openGL);
    void setAutoGLViewport(bool autoGL);
    void resetView();
    void resetPixelScale();
    void setTimeAxis(bool on);

protected:
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

    // Paints what the event exposes as QGraphicsView would, with the layers drawn in tiles on every core;
    // false, with nothing painted, when the viewport or the scene does not allow it.
    bool paintInTiles(QPaintEvent* event);

    ViewportUpdateMode updateModeWithoutAxis = MinimalViewportUpdate;
    // The exposed pixels, drawn before they go to the viewport; viewport-sized, kept between paints.
    QImage tileBuffer;
};
