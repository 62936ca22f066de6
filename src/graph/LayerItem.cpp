#include "graph/LayerItem.h"

#include <QBrush>
#include <QPainter>
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

void LayerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) {
    Q_UNUSED(option);
    Q_UNUSED(widget);
    QPainterPath drawn = path();
    // Moving an element to where it is detaches the copy from the item's path.
    if (drawn.elementCount() > 0) {
        const QPainterPath::Element first = drawn.elementAt(0);
        drawn.setElementPositionAt(0, first.x, first.y);
    }
    painter->setPen(pen());
    painter->setBrush(brush());
    painter->drawPath(drawn);
}
