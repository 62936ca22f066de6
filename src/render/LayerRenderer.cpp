#include "render/LayerRenderer.h"

#include "band/LayerItem.h"

#include <QGraphicsScene>
#include <QPainter>

namespace {

// Antialiasing may touch a pixel beyond a shape's bounds; the view allows two.
constexpr double antialiasingReach = 2.0;

} // namespace

LayerRenderer::LayerRenderer(QGraphicsScene& scene, const QTransform& transform, const QRectF& clip)
    : clip(clip)
    , transform(transform) {
    const QList<QGraphicsItem*> all = scene.items(Qt::AscendingOrder);
    items.reserve(all.size());
    reach.reserve(all.size());
    for (QGraphicsItem* item : all) {
        const auto* layer = dynamic_cast<const LayerItem*>(item);
        if (!layer || !item->isVisible() || item->opacity() < 1.0 || !item->transform().isIdentity() ||
            item->pos() != QPointF() || item->parentItem() || !item->childItems().isEmpty())
            return;
        items.append(layer);
        reach.append(
            transform.mapRect(layer->boundingRect())
                .adjusted(-antialiasingReach, -antialiasingReach, antialiasingReach, antialiasingReach));
    }
    valid = transform.type() <= QTransform::TxScale;
}

QTransform LayerRenderer::fitting(const QRectF& sceneRect, const QRectF& target) {
    const double ratio = qMin(target.width() / sceneRect.width(), target.height() / sceneRect.height());
    return QTransform()
        .translate(target.left(), target.top())
        .scale(ratio, ratio)
        .translate(-sceneRect.left(), -sceneRect.top());
}

void LayerRenderer::paint(QPainter& painter, const QRectF& area) const {
    const QRectF shown = clip.isNull() ? area : area & clip;
    if (shown.isEmpty())
        return;
    painter.save();
    if (!clip.isNull())
        painter.setClipRect(clip, Qt::IntersectClip);
    painter.setWorldTransform(transform, true);
    const QTransform view = painter.worldTransform();
    for (int i = 0; i < items.size(); ++i) {
        if (!reach[i].intersects(shown))
            continue;
        painter.save();
        painter.setWorldTransform(view);
        items[i]->draw(&painter);
        painter.restore();
    }
    painter.restore();
}
