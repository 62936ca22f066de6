#pragma once

#include <QPainterPath>
#include <QRectF>

// Cuts a path down to a rectangle without flattening its curves. Qt's rasterizers refuse paths that
// reach beyond +/-32767 device pixels, and a path flattened before clipping would show its corners at
// high zoom. Curves are split exactly where they cross the rectangle's edges; what lies outside is
// replaced by lines along the edge between the same end points. Every point inside the rectangle keeps
// its winding number, so a fill (either rule) looks the same there, and so does a stroke wherever the
// pen does not reach the rectangle's edges. Each subpath counts as closed, as a fill closes it.
class PathClip {
public:
    static QPainterPath toRect(const QPainterPath& path, const QRectF& rect);
};
