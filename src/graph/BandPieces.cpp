#include "graph/BandPieces.h"

#include <algorithm>

// Element layout of a band of n points: 0 moves to the top of point 0; the curve to the top of
// point k ends at 3k; the bottom curves follow from right to left, the one to the bottom of
// point k ending at 3(n - 1) + 3(n - k); the curve back up to the start ends at 6n.
BandPieces::BandPieces(const QPainterPath& path, int points)
    : path(path)
    , n(points) {
    if (n < 1 || qint64(path.elementCount()) < 6 * qint64(n) + 1 || !path.elementAt(0).isMoveTo())
        return;
    for (int k = 1; k < n; ++k) {
        if (!path.elementAt(topIndex(k) - 2).isCurveTo() ||
            path.elementAt(topIndex(k)).x < path.elementAt(topIndex(k - 1)).x)
            return;
    }
    for (int i = 6 * n + 1; i < path.elementCount(); ++i) {
        const double x = path.elementAt(i).x;
        labelLeft = hasLabel ? qMin(labelLeft, x) : x;
        labelRight = hasLabel ? qMax(labelRight, x) : x;
        hasLabel = true;
    }
    isValid = true;
}

double BandPieces::left() const {
    return path.elementAt(0).x;
}

double BandPieces::right() const {
    return path.elementAt(topIndex(n - 1)).x;
}

int BandPieces::topIndex(int k) const {
    return 3 * k;
}

int BandPieces::bottomIndex(int k) const {
    return 3 * (n - 1) + 3 * (n - k);
}

void BandPieces::appendCurve(QPainterPath& target, int endIndex) const {
    const QPainterPath::Element c1 = path.elementAt(endIndex - 2);
    const QPainterPath::Element c2 = path.elementAt(endIndex - 1);
    const QPainterPath::Element end = path.elementAt(endIndex);
    target.cubicTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y);
}

QPainterPath BandPieces::piece(double x0, double x1) const {
    QPainterPath result;
    result.setFillRule(path.fillRule());
    if (!isValid)
        return result;
    // Points are in x order: the last at or left of x0 and the first at or right of x1.
    int lo = 0;
    int hi = n - 1;
    {
        int a = 0;
        int b = n - 1;
        while (a < b) {
            const int mid = a + (b - a + 1) / 2;
            if (path.elementAt(topIndex(mid)).x <= x0)
                a = mid;
            else
                b = mid - 1;
        }
        lo = a;
        a = lo;
        b = n - 1;
        while (a < b) {
            const int mid = a + (b - a) / 2;
            if (path.elementAt(topIndex(mid)).x >= x1)
                b = mid;
            else
                a = mid + 1;
        }
        hi = a;
    }
    const QPainterPath::Element start = path.elementAt(topIndex(lo));
    result.reserve(6 * (hi - lo + 1) + 4);
    result.moveTo(start.x, start.y);
    for (int k = lo + 1; k <= hi; ++k)
        appendCurve(result, topIndex(k));
    if (hi == n - 1) {
        appendCurve(result, bottomIndex(n - 1));
    } else {
        const QPainterPath::Element drop = path.elementAt(bottomIndex(hi));
        result.lineTo(drop.x, drop.y);
    }
    for (int k = hi - 1; k >= lo; --k)
        appendCurve(result, bottomIndex(k));
    if (lo == 0)
        appendCurve(result, 6 * n);
    else
        result.lineTo(start.x, start.y);
    if (hasLabel && labelRight >= x0 && labelLeft <= x1) {
        for (int i = 6 * n + 1; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            switch (e.type) {
            case QPainterPath::MoveToElement:
                result.moveTo(e.x, e.y);
                break;
            case QPainterPath::LineToElement:
                result.lineTo(e.x, e.y);
                break;
            case QPainterPath::CurveToElement: {
                const QPainterPath::Element c2 = path.elementAt(i + 1);
                const QPainterPath::Element end = path.elementAt(i + 2);
                result.cubicTo(e.x, e.y, c2.x, c2.y, end.x, end.y);
                i += 2;
                break;
            }
            case QPainterPath::CurveToDataElement:
                break;
            }
        }
    }
    return result;
}
