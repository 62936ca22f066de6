#pragma once

#include "probe/LayerHit.h"

#include <QObject>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <QVector>

class StackedGraph;

// Asks one graph about the point under the pointer while it is active: which layer and month are there
// (from the layout of the last build, never by rebuilding or repainting) and what the readout says, and
// which series a click without drag points at.
class GraphProbe : public QObject {
    Q_OBJECT
public:
    explicit GraphProbe(StackedGraph* graph);

    void setActive(bool on);

    LayerHit hitAt(const QPointF& scenePoint);
    // The readout line for a scene point, as readoutChanged carries it.
    QString readoutAt(const QPointF& scenePoint);

signals:
    void readoutChanged(const QString& text);
    // A click without drag on a layer of this series, or on no layer (-1).
    void layerClicked(int seriesIndex);

private:
    void pointerMoved(const QPointF& scenePoint);
    void pointerLeft();
    void click(const QPointF& scenePoint);
    // The names' glyph outlines of the last build, one per layer.
    const QVector<QPainterPath>& labels();

    StackedGraph* graph;
    bool active = false;
    QVector<QPainterPath> labelOutlines;
    int labelsOfBuild = -1;
};
