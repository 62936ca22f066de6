#include "graph/LayerItem.h"

#include <QBrush>
#include <QPen>

LayerItem::LayerItem(const QPainterPath& path, const QPen& pen, const QBrush& brush)
    : QGraphicsPathItem(path) {
    setPen(pen);
    setBrush(brush);
    // A full pen width on every side covers square caps and bevel joins.
    const qreal margin = pen.style() == Qt::NoPen ? 0.0 : pen.widthF();
    bounds = path.controlPointRect().adjusted(-margin, -margin, margin, margin);
}

QRectF LayerItem::boundingRect() const {
    return bounds;
}
