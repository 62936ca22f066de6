#pragma once

#include <QPainterPath>

// Cuts a layer's outline (as LayerOutline::band builds it, possibly followed by its label) into
// pieces along x. Qt's antialiasing rasterizer walks a whole path once for every few dozen
// scanlines it covers and searches each scanline's cells from its start, so one long band costs
// the square of its length; drawn piece by piece, each clipped to its own strip, it costs its
// length. Within its strip a piece has exactly the band's edges, so it covers exactly the same.
class BandPieces {
public:
    // points: the number of points of the band; the path's first 6 * points + 1 elements are the
    // band, any further ones its label.
    BandPieces(const QPainterPath& path, int points);

    // False when the path does not have the band's shape; it must then be drawn whole.
    bool valid() const { return isValid; }
    // Scene x of the band's first and last point.
    double left() const;
    double right() const;

    // The band between its last point at or left of x0 and its first point at or right of x1,
    // closed by vertical lines where it is cut, and the label when its control points reach into
    // [x0, x1]. Ends of the band keep their own closing segments.
    QPainterPath piece(double x0, double x1) const;

private:
    int topIndex(int k) const;
    int bottomIndex(int k) const;
    void appendCurve(QPainterPath& target, int endIndex) const;

    QPainterPath path;
    int n = 0;
    bool isValid = false;
    bool hasLabel = false;
    double labelLeft = 0.0;
    double labelRight = 0.0;
};
