#pragma once

#include <QGraphicsPathItem>

// A layer's path item. Qt finds the bounds of a path drawn with a wide pen by stroking the whole
// path, which for long layers costs far more than building them; the outline's control points
// widened by the pen bound it just as safely. Path and pen are fixed at construction.
class LayerItem : public QGraphicsPathItem {
public:
    // bandPoints: the number of points of the band the path starts with (LayerOutline::band);
    // 0 when the path has no such shape.
    LayerItem(const QPainterPath& path, const QPen& pen, const QBrush& brush, int bandPoints = 0);

    QRectF boundingRect() const override;
    // Draws what the path item draws. The fill goes strip by strip along the band when the view
    // is not turned at an odd angle (see BandPieces), and from private copies of the path: the
    // painter keeps a converted form with the path it is given, nearly doubling the memory.
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // Width in device pixels of the strips the fill is drawn in, measured fastest: across the
    // scanlines each strip costs the square of its width, along them a fixed share per strip.
    static constexpr int columnStripWidth = 64;
    static constexpr int rowStripWidth = 128;

private:
    bool fillInStrips(QPainter* painter) const;

    QRectF bounds;
    int bandPoints = 0;
};
