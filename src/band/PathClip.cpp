#include "band/PathClip.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// A line (points 0 and 3 used) or a cubic Bezier segment.
struct Segment {
    std::array<QPointF, 4> p;
    bool curve = false;

    static Segment line(const QPointF& a, const QPointF& b) { return Segment{{a, a, b, b}, false}; }
};

using Subpath = std::vector<Segment>;

// One side of the rectangle: points with coordinate >= bound (or <= bound) are kept.
struct Side {
    bool horizontal = true; // true: the coordinate is x
    double bound = 0.0;
    bool keepAbove = true;

    double coordinate(const QPointF& p) const { return horizontal ? p.x() : p.y(); }
    bool keeps(double c) const { return keepAbove ? c >= bound : c <= bound; }
    QPointF onEdge(QPointF p) const {
        if (horizontal)
            p.setX(bound);
        else
            p.setY(bound);
        return p;
    }
};

// De Casteljau: the parts of s before and after t.
void split(const Segment& s, double t, Segment& before, Segment& after) {
    if (!s.curve) {
        const QPointF m = s.p[0] + (s.p[3] - s.p[0]) * t;
        before = Segment::line(s.p[0], m);
        after = Segment::line(m, s.p[3]);
        return;
    }
    const QPointF a = s.p[0] + (s.p[1] - s.p[0]) * t;
    const QPointF b = s.p[1] + (s.p[2] - s.p[1]) * t;
    const QPointF c = s.p[2] + (s.p[3] - s.p[2]) * t;
    const QPointF ab = a + (b - a) * t;
    const QPointF bc = b + (c - b) * t;
    const QPointF m = ab + (bc - ab) * t;
    before = Segment{{s.p[0], a, ab, m}, true};
    after = Segment{{m, bc, c, s.p[3]}, true};
}

double midCoordinate(const Segment& s, const Side& side) {
    if (!s.curve)
        return 0.5 * (side.coordinate(s.p[0]) + side.coordinate(s.p[3]));
    return (side.coordinate(s.p[0]) + 3.0 * side.coordinate(s.p[1]) + 3.0 * side.coordinate(s.p[2]) +
            side.coordinate(s.p[3])) /
           8.0;
}

// Parameters in (0, 1) where the segment's coordinate crosses the bound, ascending.
std::vector<double> crossings(const Segment& s, const Side& side) {
    const double c0 = side.coordinate(s.p[0]) - side.bound;
    const double c3 = side.coordinate(s.p[3]) - side.bound;
    if (!s.curve) {
        if ((c0 < 0.0 && c3 > 0.0) || (c0 > 0.0 && c3 < 0.0))
            return {c0 / (c0 - c3)};
        return {};
    }
    const double c1 = side.coordinate(s.p[1]) - side.bound;
    const double c2 = side.coordinate(s.p[2]) - side.bound;
    // f(t) = ((a t + b) t + c) t + d, the Bernstein form expanded.
    const double a = -c0 + 3.0 * c1 - 3.0 * c2 + c3;
    const double b = 3.0 * c0 - 6.0 * c1 + 3.0 * c2;
    const double c = -3.0 * c0 + 3.0 * c1;
    const double d = c0;
    const auto f = [&](double t) { return t <= 0.0 ? c0 : t >= 1.0 ? c3 : ((a * t + b) * t + c) * t + d; };
    // Between the turning points f is monotonic, so each sign change there holds exactly one root.
    std::vector<double> stops{0.0};
    const double qa = 3.0 * a;
    const double qb = 2.0 * b;
    const double scale = std::abs(qa) + std::abs(qb) + std::abs(c);
    if (std::abs(qa) > 1e-12 * scale) {
        const double disc = qb * qb - 4.0 * qa * c;
        if (disc >= 0.0) {
            const double root = std::sqrt(disc);
            const double q = -0.5 * (qb + (qb < 0.0 ? -root : root));
            for (double t : {q / qa, q != 0.0 ? c / q : -1.0})
                if (t > 0.0 && t < 1.0)
                    stops.push_back(t);
        }
    } else if (std::abs(qb) > 1e-12 * scale) {
        const double t = -c / qb;
        if (t > 0.0 && t < 1.0)
            stops.push_back(t);
    }
    std::sort(stops.begin() + 1, stops.end());
    stops.push_back(1.0);
    std::vector<double> roots;
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
        double lo = stops[i];
        double hi = stops[i + 1];
        double flo = f(lo);
        const double fhi = f(hi);
        if (flo == 0.0 && lo > 0.0)
            roots.push_back(lo);
        if (!((flo < 0.0 && fhi > 0.0) || (flo > 0.0 && fhi < 0.0)))
            continue;
        for (int iteration = 0; iteration < 100 && hi - lo > 1e-15; ++iteration) {
            const double mid = 0.5 * (lo + hi);
            const double fmid = f(mid);
            if ((fmid < 0.0) == (flo < 0.0)) {
                lo = mid;
                flo = fmid;
            } else {
                hi = mid;
            }
        }
        roots.push_back(0.5 * (lo + hi));
    }
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end(), [](double x, double y) { return y - x < 1e-12; }),
                roots.end());
    return roots;
}

class SideClipper {
public:
    explicit SideClipper(const Side& side)
        : side(side) {}

    Subpath clip(const Subpath& in) {
        out.clear();
        lastOnEdge = false;
        for (const Segment& s : in)
            add(s);
        return std::move(out);
    }

private:
    void add(const Segment& s) {
        bool allIn = true;
        bool allOut = true;
        for (int i = 0; i < 4; ++i) {
            const bool kept = side.keeps(side.coordinate(s.p[i]));
            allIn = allIn && kept;
            allOut = allOut && !kept;
        }
        if (allIn) {
            keep(s);
            return;
        }
        if (allOut) {
            keepOnEdge(s);
            return;
        }
        Segment rest = s;
        double done = 0.0;
        for (double t : crossings(s, side)) {
            Segment before;
            Segment after;
            split(rest, (t - done) / (1.0 - done), before, after);
            place(before);
            rest = after;
            done = t;
        }
        place(rest);
    }

    void place(const Segment& s) {
        if (side.keeps(midCoordinate(s, side)))
            keep(s);
        else
            keepOnEdge(s);
    }

    void keep(const Segment& s) {
        out.push_back(s);
        lastOnEdge = false;
    }

    // Outside parts become a line along the edge; runs of them merge into one.
    void keepOnEdge(const Segment& s) {
        const QPointF end = side.onEdge(s.p[3]);
        if (lastOnEdge) {
            out.back().p[3] = end;
            out.back().p[2] = end;
            return;
        }
        out.push_back(Segment::line(side.onEdge(s.p[0]), end));
        lastOnEdge = true;
    }

    Side side;
    Subpath out;
    bool lastOnEdge = false;
};

std::vector<Subpath> subpathsOf(const QPainterPath& path) {
    std::vector<Subpath> subpaths;
    QPointF start;
    QPointF current;
    const int count = path.elementCount();
    auto closeCurrent = [&]() {
        if (!subpaths.empty() && !subpaths.back().empty() && current != start)
            subpaths.back().push_back(Segment::line(current, start));
    };
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeCurrent();
            subpaths.emplace_back();
            start = current = QPointF(e.x, e.y);
            break;
        case QPainterPath::LineToElement:
            if (subpaths.empty()) {
                subpaths.emplace_back();
                start = current;
            }
            subpaths.back().push_back(Segment::line(current, QPointF(e.x, e.y)));
            current = QPointF(e.x, e.y);
            break;
        case QPainterPath::CurveToElement: {
            if (i + 2 >= count)
                return subpaths;
            if (subpaths.empty()) {
                subpaths.emplace_back();
                start = current;
            }
            const QPointF c1(e.x, e.y);
            const QPointF c2(path.elementAt(i + 1).x, path.elementAt(i + 1).y);
            const QPointF end(path.elementAt(i + 2).x, path.elementAt(i + 2).y);
            subpaths.back().push_back(Segment{{current, c1, c2, end}, true});
            current = end;
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    closeCurrent();
    return subpaths;
}

} // namespace

QPainterPath PathClip::toRect(const QPainterPath& path, const QRectF& rect) {
    QPainterPath result;
    result.setFillRule(path.fillRule());
    const QRectF r = rect.normalized();
    const Side sides[4] = {
        {true, r.left(), true}, {true, r.right(), false}, {false, r.top(), true}, {false, r.bottom(), false}};
    for (Subpath subpath : subpathsOf(path)) {
        for (const Side& side : sides)
            subpath = SideClipper(side).clip(subpath);
        if (subpath.empty())
            continue;
        result.moveTo(subpath.front().p[0]);
        for (const Segment& s : subpath) {
            if (s.curve)
                result.cubicTo(s.p[1], s.p[2], s.p[3]);
            else
                result.lineTo(s.p[3]);
        }
    }
    return result;
}
