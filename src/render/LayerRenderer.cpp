#include "render/LayerRenderer.h"

#include "band/LayerItem.h"

#include <QGraphicsScene>
#include <QImage>
#include <QPaintEngine>
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

void LayerRenderer::paint(QPainter& painter, const QRectF& area, const QRect& whole) const {
    const QRectF shown = clip.isNull() ? area : area & clip;
    if (shown.isEmpty())
        return;
    painter.save();
    // The device's pixels, for the layers that can be drawn straight into them; the clip in device pixels
    // as the raster engine rounds a rectangle.
    BandRaster::Device raster;
    QPaintDevice* device = painter.device();
    QImage* image = device && device->devType() == QInternal::Image ? static_cast<QImage*>(device) : nullptr;
    const bool pixels =
        image && painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster &&
        (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied) &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver &&
        painter.testRenderHint(QPainter::Antialiasing) && !painter.hasClipping();
    if (pixels) {
        raster.pixels = reinterpret_cast<uint*>(image->bits());
        raster.pixelsPerLine = image->bytesPerLine() / 4;
        raster.rect = image->rect();
        raster.clip = raster.rect;
        raster.whole = whole;
        if (!clip.isNull()) {
            const QTransform toDevice = painter.deviceTransform();
            raster.clip &= QRect::span(toDevice.map(clip.topLeft()).toPoint(),
                                       toDevice.map(clip.bottomRight()).toPoint())
                               .adjusted(0, 0, -1, -1);
            raster.clipped = true;
        }
    }
    if (!clip.isNull())
        painter.setClipRect(clip, Qt::IntersectClip);
    painter.setWorldTransform(transform, true);
    const QTransform view = painter.worldTransform();
    raster.transform = painter.deviceTransform();
    for (int i = 0; i < items.size(); ++i) {
        if (!reach[i].intersects(shown))
            continue;
        painter.save();
        painter.setWorldTransform(view);
        painter.setOpacity(opacity[i]);
        items[i]->draw(&painter, pixels ? &raster : nullptr);
        painter.restore();
    }
    painter.restore();
}
