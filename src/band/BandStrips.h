#pragma once

#include <QVector>

// Plans how a band is filled in vertical strips of device columns. Qt's antialiasing rasterizer
// costs the square of a path's length when the path runs flat across many pixels, as every layer
// does; filled piece by piece, each piece clipped to its own strip, a band costs its length. The
// plan comes from the band's geometry alone: point k of the band lies at device column
// origin + k * step, and its label (if any) spans [labelLeft, labelRight].
class BandStrips {
public:
    // Points firstPoint .. lastPoint of the band; empty when firstPoint > lastPoint.
    struct Span {
        int firstPoint = 0;
        int lastPoint = -1;
        bool isEmpty() const { return firstPoint > lastPoint; }
    };
    struct Strip {
        int left = 0;  // first device column of the strip
        int right = 0; // one past its last column
        Span points;
        bool label = false;
    };
    struct Band {
        int count = 0;
        double origin = 0.0;
        double step = 1.0; // > 0
        bool hasLabel = false;
        double labelLeft = 0.0;
        double labelRight = 0.0;
    };

    // The points a piece must hold to have exactly the band's edges over columns [left, right]:
    // from the last point at or left of left to the first at or right of right.
    static Span pointsFor(const Band& band, double left, double right);
    // Strips of that width, aligned to multiples of it, over the columns [visibleLeft, visibleRight)
    // that the band or its label reach; each piece reaches margin columns beyond its strip so that
    // where it is cut lies outside. Strips holding nothing are left out. False when no plan can be
    // made (the band's numbers are not finite, or the strips would be absurdly many); the band must
    // then be drawn whole.
    static bool plan(const Band& band, double visibleLeft, double visibleRight, int width, double margin,
                     QVector<Strip>* strips);

    // Plans of more strips than this are refused: a device is never that wide.
    static constexpr int maxStrips = 1 << 20;
};
