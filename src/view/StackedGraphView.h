#pragma once

#include <QGraphicsView>
#include <QPoint>

#include <QGraphicsItem>
class QGraphicsScene;

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

signals:
    void toolTipChanged(QGraphicsItem* item, QPoint pos);

public slots:
    void showWholeGraph();
    void setGLViewport(bool openGL);
    void setAutoGLViewport(bool autoGL);
    void resetView();
    void resetPixelScale();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The magnification of the whole graph fitted into the viewport, or NaN when the
    // viewport, the scene rectangle or the month span gives no answer.
    double fittedPixelScale() const;
};
