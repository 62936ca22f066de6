#include "graph/LayerItem.h"

#include "graph/BandPieces.h"

#include <QBrush>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace {

// A copy that shares nothing with the item's path, so that what the painter attaches to it is
// freed after drawing.
QPainterPath detached(const QPainterPath& path) {
    QPainterPath copy = path;
    if (copy.elementCount() > 0) {
        const QPainterPath::Element first = copy.elementAt(0);
        copy.setElementPositionAt(0, first.x, first.y);
    }
    return copy;
}

bool isWhole(double value) {
    return std::isfinite(value) && value == std::floor(value);
}

} // namespace

LayerItem::LayerItem(const QPainterPath& path, const QPen& pen, const QBrush& brush, int bandPoints)
    : QGraphicsPathItem(path)
    , bandPoints(bandPoints) {
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
    painter->setPen(pen());
    painter->setBrush(brush());
    if (!fillInStrips(painter)) {
        painter->drawPath(detached(path()));
        return;
    }
    if (pen().style() == Qt::NoPen)
        return;
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(detached(path()));
}

// False when nothing was drawn: the path must then be drawn whole.
bool LayerItem::fillInStrips(QPainter* painter) const {
    // Only Qt's own rasterizer has the cost strips avoid; OpenGL and printing draw whole paths.
    if (bandPoints < 2 || brush().style() == Qt::NoBrush || !painter->paintEngine() ||
        painter->paintEngine()->type() != QPaintEngine::Raster)
        return false;
    const QTransform world = painter->worldTransform();
    const QTransform device = painter->deviceTransform();
    // Strip edges must fall on pixel edges, so device pixels may only be offset by whole pixels.
    if (device.m11() != world.m11() || device.m12() != world.m12() || device.m21() != world.m21() ||
        device.m22() != world.m22() || !isWhole(device.dx() - world.dx()) ||
        !isWhole(device.dy() - world.dy()))
        return false;
    // Scene x must map to one device axis alone: u = scale * x + offset.
    double scale = 0.0;
    double offset = 0.0;
    bool columns = true;
    if (world.type() <= QTransform::TxScale) {
        scale = world.m11();
        offset = world.dx();
    } else if (world.type() == QTransform::TxRotate && world.m11() == 0.0 && world.m22() == 0.0) {
        scale = world.m12();
        offset = world.dy();
        columns = false;
    } else {
        return false;
    }
    if (!std::isfinite(scale) || !std::isfinite(offset) || scale == 0.0)
        return false;
    const BandPieces pieces(path(), bandPoints);
    if (!pieces.valid())
        return false;
    const QPaintDevice* target = painter->device();
    if (!target)
        return false;
    const int length = columns ? target->width() : target->height();
    const int across = columns ? target->height() : target->width();
    double u0 = scale * bounds.left() + offset;
    double u1 = scale * bounds.right() + offset;
    if (u0 > u1)
        std::swap(u0, u1);
    u0 = qMax(u0, 0.0);
    u1 = qMin(u1, double(length));
    const int stripWidth = columns ? columnStripWidth : rowStripWidth;
    if (!(u1 - u0 > 2.0 * stripWidth))
        return false;

    // Pieces reach two pixels beyond their strip, so that where they are cut lies outside it.
    static constexpr double margin = 2.0;
    painter->setPen(Qt::NoPen);
    for (int lo = int(std::floor(u0 / stripWidth)) * stripWidth; lo < u1; lo += stripWidth) {
        double x0 = (lo - margin - offset) / scale;
        double x1 = (lo + stripWidth + margin - offset) / scale;
        if (x0 > x1)
            std::swap(x0, x1);
        const QPainterPath piece = pieces.piece(x0, x1);
        painter->save();
        painter->resetTransform();
        painter->setClipRect(columns ? QRect(lo, 0, stripWidth, across) : QRect(0, lo, across, stripWidth),
                             Qt::IntersectClip);
        painter->setWorldTransform(world);
        painter->drawPath(piece);
        painter->restore();
    }
    painter->setPen(pen());
    return true;
}
