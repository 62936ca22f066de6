#include "band/LayerItem.h"

#include "band/LayerOutline.h"
#include "band/PathClip.h"
#include "raster/CellRaster.h"
#include "raster/PixelBlend.h"

#include <QBrush>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

// Qt's rasterizers take device coordinates within +/-32767 and paths at most that wide or high;
// beyond, the raster engine flattens and clips the path itself and the OpenGL engine draws nothing.
constexpr double deviceLimit = 32000.0;
// Room left around what the device shows, so that cuts and their antialiasing stay out of sight.
constexpr double fillMargin = 2.0;
// Reach of the stroke beyond which it is cut off; a pen wider than this on screen is past any zoom
// the view offers.
constexpr double largestReach = 8000.0;

bool fitsDevice(const QRectF& rect) {
    return rect.left() > -deviceLimit && rect.right() < deviceLimit && rect.top() > -deviceLimit &&
           rect.bottom() < deviceLimit && rect.width() < deviceLimit && rect.height() < deviceLimit;
}

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

// The band's points along the item's x axis.
BandStrips::Band bandOf(const BandGeometry& geometry) {
    BandStrips::Band band;
    band.count = geometry.count();
    band.origin = geometry.sceneX(0);
    band.step = geometry.xScale;
    return band;
}

bool isWhole(double value) {
    return std::isfinite(value) && value == std::floor(value);
}

// The control points of a band's outline: its months across, its bottoms and tops up and down.
QRectF bandBounds(const BandGeometry& band) {
    if (band.count() == 0)
        return QRectF();
    const double lowest = *std::min_element(band.bottoms.cbegin(), band.bottoms.cend());
    const double highest = *std::max_element(band.tops.cbegin(), band.tops.cend());
    return QRectF(QPointF(band.sceneX(0), -highest * band.yScale),
                  QPointF(band.sceneX(band.count() - 1), -lowest * band.yScale));
}

QPainterPath outlineWithLabel(const BandGeometry& band, const QPainterPath& label) {
    QPainterPath path = LayerOutline::band(band, label.elementCount()).path;
    if (!label.isEmpty())
        path.addPath(label);
    return path;
}

// The cell buffer of this thread: a few megabytes, made once per thread for every fill it draws.
CellRaster& threadCells() {
    static thread_local CellRaster cells;
    return cells;
}

} // namespace

// Where the painter draws: its transforms from item to logical and device coordinates, and the
// device pixels it may change.
struct LayerItem::Surface {
    QTransform world;
    QTransform device;
    QTransform inverse; // device to item
    QRectF visible;     // device pixels
    double penReach = 0.0;
    bool valid = false;

    Surface(QPainter& painter, const QPen& pen) {
        world = painter.worldTransform();
        device = painter.deviceTransform();
        const QPaintDevice* target = painter.device();
        if (!target || device.type() == QTransform::TxProject || world.type() == QTransform::TxProject)
            return;
        bool invertible = false;
        inverse = device.inverted(&invertible);
        const QTransform redirection = world.inverted(&valid) * device;
        if (!invertible || !valid) {
            valid = false;
            return;
        }
        visible = redirection.mapRect(QRectF(0.0, 0.0, target->width(), target->height()));
        if (QPaintEngine* engine = painter.paintEngine()) {
            const QRegion system = engine->systemClip();
            if (!system.isEmpty())
                visible &= QRectF(system.boundingRect());
        }
        if (painter.hasClipping())
            visible &= device.mapRect(painter.clipBoundingRect());
        const double scale = std::sqrt(std::abs(device.determinant()));
        const double width = pen.style() == Qt::NoPen ? 0.0
                             : pen.isCosmetic()       ? qMax(1.0, pen.widthF())
                                                      : qMax(1.0, pen.widthF() * scale);
        penReach = qMin(width + 2.0 * fillMargin, largestReach);
        valid = std::isfinite(scale) && visible.isValid() && fitsDevice(visible);
    }
};

LayerItem::LayerItem(const BandGeometry& band, const QPainterPath& label, const QPen& pen,
                     const QBrush& brush, Storage storage, const QBrush& labelFill)
    : LayerItem(band, label, partsOf(band, label, storage, labelFill), pen, brush, storage, labelFill) {}

LayerItem::Parts LayerItem::partsOf(const BandGeometry& band, const QPainterPath& label, Storage storage,
                                    const QBrush& labelFill) {
    Parts parts{QPainterPath(), PathContours(label)};
    if (storage == Storage::WholePath)
        parts.path = outlineWithLabel(band, bandLabel(label, labelFill));
    return parts;
}

LayerItem::LayerItem(const BandGeometry& band, const QPainterPath& label, Parts parts, const QPen& pen,
                     const QBrush& brush, Storage storage, const QBrush& labelFill)
    : geometry(band)
    , label(label)
    , labelContours(std::move(parts.labelContours))
    , labelBounds(labelContours.bounds())
    , labelBrush(labelFill)
    , holdsPath(storage == Storage::WholePath) {
    if (holdsPath)
        setPath(parts.path);
    setPen(pen);
    setBrush(brush);
    // Qt finds the bounds of a path drawn with a wide pen by stroking the whole path, which for long
    // layers costs far more than building them; the control points widened by a full pen width on
    // every side (covering square caps and bevel joins) bound it just as safely.
    const qreal margin = pen.style() == Qt::NoPen ? 0.0 : pen.widthF();
    bounds = bandBounds(band) | labelBounds;
    bounds.adjust(-margin, -margin, margin, margin);
}

QPainterPath LayerItem::wholePath() const {
    return holdsPath ? detached(path()) : outlineWithLabel(geometry, bandLabel());
}

QRectF LayerItem::boundingRect() const {
    return bounds;
}

void LayerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) {
    Q_UNUSED(option);
    Q_UNUSED(widget);
    draw(painter);
}

void LayerItem::draw(QPainter* painter, const BandRaster::Device* raster) const {
    painter->setPen(pen());
    painter->setBrush(brush());
    const Surface surface(*painter, pen());
    // Vector output (SVG, PDF, printing) has no pixel limits and should get the whole path.
    const QPaintEngine* engine = painter->paintEngine();
    const bool pixels =
        engine && (engine->type() == QPaintEngine::Raster || engine->type() == QPaintEngine::OpenGL2);
    drawBand(painter, surface, pixels, raster);
    if (labelApart())
        drawLabel(painter, surface, pixels, raster);
}

void LayerItem::drawLabel(QPainter* painter, const Surface& surface, bool pixels,
                          const BandRaster::Device* raster) const {
    painter->setPen(Qt::NoPen);
    painter->setBrush(labelBrush);
    if (!surface.valid || !pixels) {
        painter->drawPath(label);
        return;
    }
    if (!labelBounds.intersects(reachedArea(surface)))
        return;
    if (raster && labelBrush.style() == Qt::SolidPattern && fitsRaster(surface, *raster, labelBounds)) {
        BandRaster::fill(BandGeometry(), labelContours, *raster,
                         PixelBlend::faded(labelBrush.color().rgba64(), opacityOf(*painter)).toArgb32(),
                         raster->clip.left(), raster->clip.right() + 1, threadCells());
        return;
    }
    const double reach = surface.penReach;
    drawInPixels(painter, cutToDevice(label, surface, surface.visible.adjusted(-reach, -reach, reach, reach)),
                 surface);
}

void LayerItem::drawBand(QPainter* painter, const Surface& surface, bool pixels,
                         const BandRaster::Device* raster) const {
    if (!surface.valid || !pixels) {
        painter->drawPath(wholePath());
        return;
    }
    // A layer far above or below what the device shows draws nothing there: no piece need be built.
    const QRectF reached = reachedArea(surface);
    if (!reaches(BandStrips::pointsFor(bandOf(geometry), reached.left(), reached.right()),
                 !labelApart() && labelBounds.intersects(reached), reached))
        return;
    if (raster && drawIntoPixels(painter, surface, *raster))
        return;
    const bool whole =
        fitsDevice(surface.device.mapRect(bounds).adjusted(-fillMargin, -fillMargin, fillMargin, fillMargin));
    if (fillInStrips(painter, surface)) {
        if (pen().style() == Qt::NoPen)
            return;
        // The outline of only what the device shows: an export's tiles each draw their own part.
        painter->setBrush(Qt::NoBrush);
        drawVisiblePart(painter, surface);
        return;
    }
    if (whole)
        painter->drawPath(wholePath());
    else
        drawVisiblePart(painter, surface);
}

void LayerItem::drawVisiblePart(QPainter* painter, const Surface& surface) const {
    drawInPixels(painter, visiblePart(surface), surface);
}

void LayerItem::drawInPixels(QPainter* painter, const QPainterPath& part, const Surface& surface) const {
    const QTransform& world = surface.world;
    // OpenGL checks how far a path reaches in its own coordinates scaled, before the view moves it
    // into place, and gives up beyond 32767 pixels: there it is drawn in the painter's pixels.
    if (painter->paintEngine()->type() == QPaintEngine::Raster || world.type() > QTransform::TxScale ||
        world.m11() != world.m22() || !(world.m11() > 0.0)) {
        painter->drawPath(part);
        return;
    }
    QPen scaled = painter->pen();
    if (!scaled.isCosmetic())
        scaled.setWidthF(scaled.widthF() * world.m11());
    painter->save();
    painter->resetTransform();
    painter->setPen(scaled);
    painter->drawPath(world.map(part));
    painter->restore();
}

QPainterPath LayerItem::piece(BandStrips::Span span, bool withLabel) const {
    withLabel = withLabel && !labelApart();
    const int labelElements = withLabel ? label.elementCount() : 0;
    QPainterPath result =
        span.isEmpty() ? QPainterPath()
                       : LayerOutline::piece(geometry, span.firstPoint, span.lastPoint, labelElements).path;
    if (withLabel)
        result.addPath(label);
    return result;
}

bool LayerItem::reaches(BandStrips::Span span, bool withLabel, const QRectF& area) const {
    if (withLabel)
        return true;
    if (span.isEmpty())
        return false;
    double lowest = geometry.bottoms[span.firstPoint];
    double highest = geometry.tops[span.firstPoint];
    for (int k = span.firstPoint + 1; k <= span.lastPoint; ++k) {
        lowest = qMin(lowest, geometry.bottoms[k]);
        highest = qMax(highest, geometry.tops[k]);
    }
    // Scene y grows downwards, heights upwards.
    return -highest * geometry.yScale <= area.bottom() && -lowest * geometry.yScale >= area.top();
}

QRectF LayerItem::reachedArea(const Surface& surface) const {
    const double reach = surface.penReach;
    // Exact for the view's scaling, wider when turned.
    return surface.inverse.mapRect(surface.visible.adjusted(-reach, -reach, reach, reach));
}

QPainterPath LayerItem::cutToDevice(const QPainterPath& piece, const Surface& surface,
                                    const QRectF& area) const {
    if (fitsDevice(surface.device.mapRect(piece.controlPointRect())))
        return piece;
    return surface.inverse.map(PathClip::toRect(surface.device.map(piece), area));
}

QPainterPath LayerItem::visiblePart(const Surface& surface) const {
    const double reach = surface.penReach;
    const QRectF area = surface.visible.adjusted(-reach, -reach, reach, reach);
    const QRectF itemArea = reachedArea(surface);
    const BandStrips::Span span = BandStrips::pointsFor(bandOf(geometry), itemArea.left(), itemArea.right());
    const bool withLabel = !bandLabel().isEmpty() && labelBounds.intersects(itemArea);
    return cutToDevice(piece(span, withLabel), surface, area);
}

// False when nothing was filled: the path must then be filled whole.
bool LayerItem::fillInStrips(QPainter* painter, const Surface& surface) const {
    // Only Qt's own rasterizer has the cost strips avoid; OpenGL and printing take whole paths.
    if (geometry.count() < 2 || brush().style() == Qt::NoBrush || !painter->paintEngine() ||
        painter->paintEngine()->type() != QPaintEngine::Raster)
        return false;
    const QTransform& world = surface.world;
    const QTransform& device = surface.device;
    // Strips are clipped in logical pixels, which must be device pixels moved by whole pixels, and
    // scene x must map to logical x alone.
    if (world.type() > QTransform::TxScale || device.m11() != world.m11() || device.m22() != world.m22() ||
        !isWhole(device.dx() - world.dx()) || !isWhole(device.dy() - world.dy()) || !(world.m11() > 0.0))
        return false;
    const QPointF shift(device.dx() - world.dx(), device.dy() - world.dy());
    // The band's points along logical x.
    BandStrips::Band band = bandOf(geometry);
    band.origin = world.m11() * band.origin + world.dx();
    band.step *= world.m11();
    if (!(band.step * (band.count - 1) > 2.0 * stripWidth))
        return false;
    band.hasLabel = !bandLabel().isEmpty();
    band.labelLeft = world.m11() * labelBounds.left() + world.dx();
    band.labelRight = world.m11() * labelBounds.right() + world.dx();
    const QRectF visible = surface.visible.translated(-shift);
    QVector<BandStrips::Strip> strips;
    if (!BandStrips::plan(band, visible.left(), visible.right(), stripWidth, fillMargin, &strips))
        return false;

    const int top = int(std::floor(visible.top()));
    const int height = int(std::ceil(visible.bottom())) - top;
    painter->setPen(Qt::NoPen);
    for (const BandStrips::Strip& strip : strips) {
        const QRectF area(strip.left - fillMargin + shift.x(), visible.top() - fillMargin + shift.y(),
                          strip.right - strip.left + 2.0 * fillMargin, visible.height() + 2.0 * fillMargin);
        if (!reaches(strip.points, strip.label, surface.inverse.mapRect(area)))
            continue;
        const QPainterPath part = cutToDevice(piece(strip.points, strip.label), surface, area);
        painter->save();
        painter->resetTransform();
        painter->setClipRect(QRect(strip.left, top, strip.right - strip.left, height), Qt::IntersectClip);
        painter->setWorldTransform(world);
        painter->drawPath(part);
        painter->restore();
    }
    painter->setPen(pen());
    return true;
}

int LayerItem::opacityOf(const QPainter& painter) {
    return int(painter.opacity() * 256);
}

bool LayerItem::fitsRaster(const Surface& surface, const BandRaster::Device& raster,
                           const QRectF& area) const {
    const QTransform& t = raster.transform;
    // Points are taken in 1/256 pixel into 32-bit integers: far beyond any device, zoom out to draw.
    constexpr double farthest = 1 << 22;
    const QRectF extent = t.mapRect(area);
    return surface.device == t && BandRaster::takes(t) && qAbs(extent.top()) < farthest &&
           qAbs(extent.bottom()) < farthest && t.m11() * geometry.xScale < farthest;
}

bool LayerItem::drawIntoPixels(QPainter* painter, const Surface& surface,
                               const BandRaster::Device& raster) const {
    const Qt::BrushStyle fill = brush().style();
    if ((fill != Qt::SolidPattern && fill != Qt::NoBrush) || !fitsRaster(surface, raster, bounds))
        return false;
    const int opacity = opacityOf(*painter);
    if (fill == Qt::SolidPattern) {
        static const PathContours none;
        BandRaster::fill(geometry, labelApart() ? none : labelContours, raster,
                         PixelBlend::faded(brush().color().rgba64(), opacity).toArgb32(), raster.clip.left(),
                         raster.clip.right() + 1, threadCells());
    }
    if (pen().style() == Qt::NoPen)
        return true;
    // The outline of only what the device shows.
    painter->setBrush(Qt::NoBrush);
    if (!outlineIntoPixels(surface, raster, opacity))
        drawVisiblePart(painter, surface);
    return true;
}

bool LayerItem::outlineIntoPixels(const Surface& surface, const BandRaster::Device& raster,
                                  int opacity) const {
    const QPen& p = pen();
    const QTransform& t = raster.transform;
    // The engine draws a pen as such lines only when it is solid, no wider than a pixel and the device
    // keeps the aspect ratio.
    if (p.style() != Qt::SolidLine || p.brush().style() != Qt::SolidPattern || p.isCosmetic() ||
        !(p.widthF() > 0.0) || !qFuzzyCompare(t.m11(), t.m22()) || p.widthF() * BandRaster::scaleOf(t) > 1.0)
        return false;
    const QRectF area = reachedArea(surface);
    const BandStrips::Span span = BandStrips::pointsFor(bandOf(geometry), area.left(), area.right());
    if (!span.isEmpty())
        BandRaster::outline(geometry, span.firstPoint, span.lastPoint, raster,
                            PixelBlend::faded(p.color().rgba64(), opacity), p.widthF());
    // The label's outlines follow the band's, as in the item's path.
    if (!labelApart() && !label.isEmpty() && labelBounds.intersects(area))
        BandRaster::outline(labelContours, raster, PixelBlend::faded(p.color().rgba64(), opacity), p.widthF(),
                            p.capStyle() != Qt::FlatCap);
    return true;
}
