#pragma once

#include <QGraphicsPathItem>

// A layer's path item. Qt finds the bounds of a path drawn with a wide pen by stroking the whole
// path, which for long layers costs far more than building them; the outline's control points
// widened by the pen bound it just as safely. Path and pen are fixed at construction.
class LayerItem : public QGraphicsPathItem {
public:
    LayerItem(const QPainterPath& path, const QPen& pen, const QBrush& brush);

    QRectF boundingRect() const override;
    // Draws what the path item draws, from a private copy of the path: the painter keeps a
    // converted form with the path it is given, nearly doubling the memory of a drawn graph.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    QRectF bounds;
};
