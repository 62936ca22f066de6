#include "raster/PathContours.h"

#include <algorithm>

PathContours::PathContours(const QPainterPath& path) {
    const int count = path.elementCount();
    if (count == 0)
        return;
    points.reserve(count);
    curve.reserve(count);
    // One pass over the path: each move closes the contour before it.
    QPointF low(path.elementAt(0));
    QPointF high = low;
    const auto close = [this](int begin, int end, const QPointF& from, const QPointF& to) {
        contours.append(Contour{begin, end, QRectF(from, to), points[begin] == points[end - 1]});
    };
    int start = 0;
    double left = 0.0, right = 0.0, top = 0.0, bottom = 0.0;
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        const QPointF p(e.x, e.y);
        if (e.type == QPainterPath::MoveToElement && i > 0) {
            close(start, i, QPointF(left, top), QPointF(right, bottom));
            start = i;
        }
        if (i == start) {
            left = right = p.x();
            top = bottom = p.y();
        } else {
            left = std::min(left, p.x());
            right = std::max(right, p.x());
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
        low = QPointF(std::min(low.x(), p.x()), std::min(low.y(), p.y()));
        high = QPointF(std::max(high.x(), p.x()), std::max(high.y(), p.y()));
        points.append(p);
        curve.append(e.type == QPainterPath::CurveToElement);
    }
    close(start, count, QPointF(left, top), QPointF(right, bottom));
    extent = QRectF(low, high);
}
