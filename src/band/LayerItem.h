#pragma once

#include "band/BandGeometry.h"
#include "band/BandRaster.h"
#include "band/BandStrips.h"

#include <QBrush>
#include <QGraphicsPathItem>

// A layer's path item: the band's outline followed by its label's glyph outlines, drawn as a plain
// path item draws them. Where drawing the whole path would be slow or impossible, it draws pieces
// built from the band's geometry that look the same wherever the device shows them:
// - Qt's rasterizers refuse coordinates beyond +/-32767 device pixels, which deep zoom and wide
//   images reach; then only what the device shows is drawn, cut exactly to it (PathClip);
// - the raster engine fills a long flat band in a time that grows with the square of its length;
//   there the fill goes strip by strip (BandStrips).
class LayerItem : public QGraphicsPathItem {
public:
    // Whether the item holds its whole path, or only the geometry it builds it from while drawing: an
    // export of millions of points need not keep every layer's path at once.
    enum class Storage { WholePath, GeometryOnly };

    // label: the glyph outlines of the layer's name, in place (may be empty). Without labelFill they are
    // part of the band's path, cut out of its fill and outlined by its pen; with it they are filled with
    // it over the band, without outline.
    LayerItem(const BandGeometry& band, const QPainterPath& label, const QPen& pen, const QBrush& brush,
              Storage storage = Storage::WholePath, const QBrush& labelFill = QBrush());
    // What takes time in making an item: its path and the label's contours. Made apart from the item,
    // which leaves the scene alone, many can be made at once on several threads.
    struct Parts {
        QPainterPath path;
        PathContours labelContours;
    };
    static Parts partsOf(const BandGeometry& band, const QPainterPath& label, Storage storage,
                         const QBrush& labelFill);
    // The same item from parts made by partsOf with the same band, label, storage and label fill.
    LayerItem(const BandGeometry& band, const QPainterPath& label, Parts parts, const QPen& pen,
              const QBrush& brush, Storage storage, const QBrush& labelFill);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    // What paint draws. It changes nothing of the item, so threads may draw one item at once. With the
    // painter's device given as raster pixels, the band goes straight into them where the raster engine's
    // picture can be drawn that way (BandRaster), the same to the last bit.
    void draw(QPainter* painter, const BandRaster::Device* raster = nullptr) const;

    const BandGeometry& band() const { return geometry; }
    // The glyph outlines of the layer's name, in place; empty without one.
    const QPainterPath& labelOutlines() const { return label; }
    // A label filled apart from the band, or an empty path when it is part of it.
    QPainterPath filledLabel() const { return labelApart() ? label : QPainterPath(); }
    const QBrush& labelFill() const { return labelBrush; }

    // Device columns a fill strip spans, measured fastest: each strip costs the square of its width,
    // and a fixed share for the painter's round trip.
    static constexpr int stripWidth = 64;

private:
    struct Surface;
    static bool labelApart(const QPainterPath& label, const QBrush& labelFill) {
        return labelFill.style() != Qt::NoBrush && !label.isEmpty();
    }
    bool labelApart() const { return labelApart(label, labelBrush); }
    // The label's outlines as far as they are part of the band's path.
    static QPainterPath bandLabel(const QPainterPath& label, const QBrush& labelFill) {
        return labelApart(label, labelFill) ? QPainterPath() : label;
    }
    QPainterPath bandLabel() const { return bandLabel(label, labelBrush); }
    void drawBand(QPainter* painter, const Surface& surface, bool pixels,
                  const BandRaster::Device* raster) const;
    void drawLabel(QPainter* painter, const Surface& surface, bool pixels,
                   const BandRaster::Device* raster) const;
    // Whether the area (item coordinates) can be drawn into the raster's pixels as the painter would.
    bool fitsRaster(const Surface& surface, const BandRaster::Device& raster, const QRectF& area) const;
    // The painter's opacity as the engine takes it, in 256ths.
    static int opacityOf(const QPainter& painter);
    // Draws a path already cut to what the device takes.
    void drawInPixels(QPainter* painter, const QPainterPath& part, const Surface& surface) const;
    bool fillInStrips(QPainter* painter, const Surface& surface) const;
    // The band drawn straight into the raster's pixels; false, with nothing drawn, where it cannot be.
    bool drawIntoPixels(QPainter* painter, const Surface& surface, const BandRaster::Device& raster) const;
    // The outline so drawn; false when the engine would not draw it as a line no wider than a pixel.
    // opacity: as opacityOf.
    bool outlineIntoPixels(const Surface& surface, const BandRaster::Device& raster, int opacity) const;
    // The band from firstPoint to lastPoint, with the label when asked for.
    QPainterPath piece(BandStrips::Span span, bool withLabel) const;
    // Whether that piece comes into area (item coordinates): a band between two points lies between their
    // lowest bottom and highest top, as its curves' control points do.
    bool reaches(BandStrips::Span span, bool withLabel, const QRectF& area) const;
    // The device's visible pixels widened by the pen's reach, in item coordinates.
    QRectF reachedArea(const Surface& surface) const;
    // What the device shows of the path, cut to the visible rectangle when it reaches too far.
    QPainterPath visiblePart(const Surface& surface) const;
    void drawVisiblePart(QPainter* painter, const Surface& surface) const;
    QPainterPath cutToDevice(const QPainterPath& piece, const Surface& surface, const QRectF& area) const;
    // The whole path, as it is drawn: a copy owned by the caller.
    QPainterPath wholePath() const;

    BandGeometry geometry;
    QPainterPath label;
    // The same glyph outlines as plain arrays, for drawing them into pixels tile after tile.
    PathContours labelContours;
    QRectF labelBounds;
    QRectF bounds;
    QBrush labelBrush;
    bool holdsPath = true;
};
