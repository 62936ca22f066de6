#pragma once

#include <QPointF>

// Cubic Bézier segments broken into straight pieces the way Qt's raster engine breaks them, so that edges
// drawn from the pieces land on exactly the pixels Qt's own drawing of the curve covers. A fill and a thin
// outline break curves differently: the fill in the path's own coordinates, halving until both control
// points lie within a tolerance of the chord; the outline in device pixels with a test of its own.
class CurveFlattening {
public:
    // The end points of the pieces of the curve from p1 to p4 (p1 itself not included), for a fill drawn
    // at that scale from path to device coordinates.
    template <typename Add>
    static void forFill(QPointF p1, QPointF p2, QPointF p3, QPointF p4, double scale, Add add);
    // The pieces of the curve (device pixels), each as line(start, end, caps), for an outline one pixel
    // wide; the first piece keeps the curve's cap at its start (caps & 1), the last its cap at its end.
    template <typename Line>
    static void forThinOutline(QPointF p1, QPointF p2, QPointF p3, QPointF p4, int caps, Line line);

    // How close the control points must lie to the chord, in path units per unit of the scale.
    static double fillTolerance(double scale) { return scale == 0.0 ? 0.25 : 0.25 / scale; }

private:
    struct Curve {
        double x1, y1, x2, y2, x3, y3, x4, y4;
    };
    // Halves at t = 1/2 with midpoints of midpoints, each (a + b) / 2 as written, so that the pieces
    // come out to the last bit as Qt's.
    static void halve(const Curve& c, Curve* first, Curve* second);
    // Whether both control points lie within the tolerance of the chord.
    static bool flat(const Curve& c, double tolerance);
    template <typename Add> static void halveForFill(const Curve& whole, double tolerance, Add& add);
    // Plain, so that the halving's stack of points costs nothing to set up.
    struct Point {
        double x, y;
    };
    static void halveThin(Point* points);
    // Whether a thin outline halves the curve from start to end: a control point lies a quarter pixel or
    // more (in the Manhattan length of the chord) from it.
    static bool splitsThin(const Point& start, const Point& c1, const Point& c2, const Point& end) {
        const double dx = start.x - end.x;
        const double dy = start.y - end.y;
        const double length = 0.25 * (qAbs(dx) + qAbs(dy));
        return qAbs(dx * (end.y - c1.y) - dy * (end.x - c1.x)) >= length ||
               qAbs(dx * (end.y - c2.y) - dy * (end.x - c2.x)) >= length;
    }
    template <typename Line> static void thinPieces(Point* points, int level, int caps, Line& line);
    template <typename Line>
    static void halveForThinOutline(QPointF p1, QPointF p2, QPointF p3, QPointF p4, int caps, Line& line);
};

inline bool CurveFlattening::flat(const Curve& c, double tolerance) {
    const double dy = c.y4 - c.y1;
    const double dx = c.x4 - c.x1;
    double length = qAbs(dx) + qAbs(dy);
    double distance;
    // Distances of the control points from the chord, scaled by the chord's (Manhattan) length; short
    // chords compare the control points' own offsets.
    if (length > 1.0) {
        distance =
            qAbs(dx * (c.y1 - c.y2) - dy * (c.x1 - c.x2)) + qAbs(dx * (c.y1 - c.y3) - dy * (c.x1 - c.x3));
    } else {
        distance = qAbs(c.x1 - c.x2) + qAbs(c.y1 - c.y2) + qAbs(c.x1 - c.x3) + qAbs(c.y1 - c.y3);
        length = 1.0;
    }
    return distance < tolerance * length;
}

template <typename Add>
inline void CurveFlattening::forFill(QPointF p1, QPointF p2, QPointF p3, QPointF p4, double scale, Add add) {
    const double tolerance = fillTolerance(scale);
    const Curve whole{p1.x(), p1.y(), p2.x(), p2.y(), p3.x(), p3.y(), p4.x(), p4.y()};
    // Most curves of a graph seen whole are one piece: decided where the curve is made, before any
    // halving is set up.
    if (flat(whole, tolerance))
        add(p4);
    else
        halveForFill(whole, tolerance, add);
}

template <typename Add> void CurveFlattening::halveForFill(const Curve& whole, double tolerance, Add& add) {
    // The whole curve is known not to be flat: its halves start the stack.
    Curve stack[10];
    int levels[10];
    halve(whole, &stack[1], &stack[0]);
    levels[0] = levels[1] = 8;
    int top = 1;
    while (top >= 0) {
        const Curve& c = stack[top];
        if (flat(c, tolerance) || levels[top] == 0) {
            add(QPointF(c.x4, c.y4));
            --top;
        } else {
            Curve first;
            Curve second;
            halve(c, &first, &second);
            stack[top + 1] = first;
            stack[top] = second;
            levels[top + 1] = --levels[top];
            ++top;
        }
    }
}

template <typename Line>
inline void CurveFlattening::forThinOutline(QPointF p1, QPointF p2, QPointF p3, QPointF p4, int caps,
                                            Line line) {
    // The first test of thinPieces, inline where the curve is made: most curves are one piece.
    if (splitsThin(Point{p1.x(), p1.y()}, Point{p2.x(), p2.y()}, Point{p3.x(), p3.y()},
                   Point{p4.x(), p4.y()}))
        halveForThinOutline(p1, p2, p3, p4, caps, line);
    else
        line(p1, p4, caps);
}

template <typename Line>
void CurveFlattening::halveForThinOutline(QPointF p1, QPointF p2, QPointF p3, QPointF p4, int caps,
                                          Line& line) {
    // Up to six halvings; the points are kept end first, as the halving works on them.
    Point points[3 * 6 + 4];
    points[3] = Point{p1.x(), p1.y()};
    points[2] = Point{p2.x(), p2.y()};
    points[1] = Point{p3.x(), p3.y()};
    points[0] = Point{p4.x(), p4.y()};
    // Known to need the first halving.
    halveThin(points);
    thinPieces(points + 3, 5, caps & 1, line);
    thinPieces(points, 5, caps & 2, line);
}

template <typename Line> void CurveFlattening::thinPieces(Point* points, int level, int caps, Line& line) {
    if (level) {
        if (splitsThin(points[3], points[2], points[1], points[0])) {
            halveThin(points);
            --level;
            thinPieces(points + 3, level, caps & 1, line);
            thinPieces(points, level, caps & 2, line);
            return;
        }
    }
    line(QPointF(points[3].x, points[3].y), QPointF(points[0].x, points[0].y), caps);
}
