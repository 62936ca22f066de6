#include "raster/CurveFlattening.h"

void CurveFlattening::halve(const Curve& c, Curve* first, Curve* second) {
    const auto mid = [](double a, double b) { return (a + b) * 0.5; };
    const double x12 = mid(c.x1, c.x2);
    const double y12 = mid(c.y1, c.y2);
    const double x23 = mid(c.x2, c.x3);
    const double y23 = mid(c.y2, c.y3);
    const double x34 = mid(c.x3, c.x4);
    const double y34 = mid(c.y3, c.y4);
    const double x123 = mid(x12, x23);
    const double y123 = mid(y12, y23);
    const double x234 = mid(x23, x34);
    const double y234 = mid(y23, y34);
    const double x1234 = mid(x123, x234);
    const double y1234 = mid(y123, y234);
    *first = Curve{c.x1, c.y1, x12, y12, x123, y123, x1234, y1234};
    *second = Curve{x1234, y1234, x234, y234, x34, y34, c.x4, c.y4};
}

// points[3] is the start, points[0] the end; the halves go to points[3..6] (first) and points[0..3].
void CurveFlattening::halveThin(Point* points) {
    const double half = 0.5;
    double a, b, c, d;
    double x[7], y[7];
    for (int i = 0; i < 4; ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
    }
    for (double* v : {x, y}) {
        v[6] = v[3];
        c = v[1];
        d = v[2];
        v[1] = a = (v[0] + c) * half;
        v[5] = b = (v[3] + d) * half;
        c = (c + d) * half;
        v[2] = a = (a + c) * half;
        v[4] = b = (b + c) * half;
        v[3] = (a + b) * half;
    }
    for (int i = 0; i < 7; ++i)
        points[i] = Point{x[i], y[i]};
}
