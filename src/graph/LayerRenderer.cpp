#include "graph/LayerRenderer.h"

#include "graph/LayerItem.h"

#include <QGraphicsScene>
#include <QPainter>

LayerRenderer::LayerRenderer(QGraphicsScene& scene, const QRectF& target)
    : target(target) {
    const QRectF source = scene.sceneRect();
    const QList<QGraphicsItem*> all = scene.items(source, Qt::IntersectsItemBoundingRect, Qt::AscendingOrder);
    items.reserve(all.size());
    for (QGraphicsItem* item : all) {
        const auto* layer = dynamic_cast<const LayerItem*>(item);
        if (!layer || !item->isVisible() || item->opacity() < 1.0 || !item->transform().isIdentity() ||
            item->pos() != QPointF() || item->parentItem() || !item->childItems().isEmpty())
            return;
        items.append(layer);
    }
    // The transform QGraphicsScene::render sets up for kept aspect ratio, built the same way.
    const double ratio = qMin(target.width() / source.width(), target.height() / source.height());
    transform = QTransform()
                    .translate(target.left(), target.top())
                    .scale(ratio, ratio)
                    .translate(-source.left(), -source.top());
    valid = true;
}

void LayerRenderer::paint(QPainter& painter) const {
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.setWorldTransform(transform, true);
    const QTransform view = painter.worldTransform();
    for (const LayerItem* item : items) {
        painter.save();
        painter.setWorldTransform(view);
        item->draw(&painter);
        painter.restore();
    }
    painter.restore();
}
