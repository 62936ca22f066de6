#include "raster/PathContours.h"

#include <algorithm>

PathContours::PathContours(const QPainterPath& path) {
    const int count = path.elementCount();
    points.reserve(count);
    curve.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        points.append(e);
        curve.append(e.type == QPainterPath::CurveToElement);
    }
    int start = 0;
    while (start < count) {
        int end = start + 1;
        while (end < count && path.elementAt(end).type != QPainterPath::MoveToElement)
            ++end;
        double left = points[start].x();
        double right = left;
        double top = points[start].y();
        double bottom = top;
        for (int i = start + 1; i < end; ++i) {
            left = std::min(left, points[i].x());
            right = std::max(right, points[i].x());
            top = std::min(top, points[i].y());
            bottom = std::max(bottom, points[i].y());
        }
        const QRectF box(QPointF(left, top), QPointF(right, bottom));
        contours.append(Contour{start, end, box, points[start] == points[end - 1]});
        extent = extent.isNull() ? box : extent | box;
        start = end;
    }
}
