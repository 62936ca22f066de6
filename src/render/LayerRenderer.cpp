#include "render/LayerRenderer.h"

#include "band/LayerItem.h"

#include <QGraphicsScene>
#include <QPainter>

namespace {

// Antialiasing may touch a pixel beyond a shape's bounds; the view allows two.
constexpr double antialiasingReach = 2.0;
// Opacity below which QGraphicsScene does not draw an item.
constexpr double nearlyTransparent = 0.001;

} // namespace

LayerRenderer::LayerRenderer(QGraphicsScene& scene, const QTransform& transform, const QRectF& clip)
    : clip(clip)
    , transform(transform) {
    const QList<QGraphicsItem*> all = scene.items(Qt::AscendingOrder);
    items.reserve(all.size());
    reach.reserve(all.size());
    opacity.reserve(all.size());
    for (QGraphicsItem* item : all) {
        const auto* layer = dynamic_cast<const LayerItem*>(item);
        if (!layer || !item->isVisible() || !item->transform().isIdentity() || item->pos() != QPointF() ||
            item->parentItem() || !item->childItems().isEmpty())
            return;
        // A faded layer is drawn as the scene draws it: fill and outline each blended at its opacity.
        // The scene leaves out what is almost fully transparent.
        if (item->opacity() < nearlyTransparent)
            continue;
        items.append(layer);
        opacity.append(item->opacity());
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
        painter.setOpacity(opacity[i]);
        items[i]->draw(&painter);
        painter.restore();
    }
    painter.restore();
}
