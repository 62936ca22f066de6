#include "band/BandRaster.h"

#include "raster/CellRaster.h"
#include "raster/CurveFlattening.h"
#include "raster/PixelBlend.h"
#include "raster/ThinLine.h"

#include <algorithm>
#include <cmath>

namespace {

// The band's points and the control points of its curves in scene units, exactly as its path holds them.
struct Scene {
    const BandGeometry& band;
    double month(int k) const { return double(band.first + k); }
    QPointF top(int k) const { return QPointF(month(k) * band.xScale, -band.tops[k] * band.yScale); }
    QPointF bottom(int k) const { return QPointF(month(k) * band.xScale, -band.bottoms[k] * band.yScale); }
    // The curve from point `from` to point `to` along heights h: both control points halfway between.
    template <typename Curve> void curve(int from, int to, const QVector<double>& h, Curve use) const {
        const double penX = month(from);
        const double x = month(to);
        const double mid = penX + (x - penX) * 0.5;
        use(QPointF(penX * band.xScale, -h[from] * band.yScale),
            QPointF(mid * band.xScale, -h[from] * band.yScale),
            QPointF(mid * band.xScale, -h[to] * band.yScale), QPointF(x * band.xScale, -h[to] * band.yScale));
    }
};

// The transform's mapping of points, with the same arithmetic as QTransform::map for moving and scaling,
// without its call and checks on every point.
struct Mapping {
    double m11, m22, dx, dy;
    bool scales;
    explicit Mapping(const QTransform& t)
        : m11(t.m11())
        , m22(t.m22())
        , dx(t.dx())
        , dy(t.dy())
        , scales(t.type() == QTransform::TxScale) {}
    QPointF operator()(const QPointF& p) const {
        return scales ? QPointF(m11 * p.x() + dx, m22 * p.y() + dy) : QPointF(p.x() + dx, p.y() + dy);
    }
};

// A device point in 1/256 pixel, rounded to 1/64 as the engine rounds it.
struct Fixed {
    qint64 x;
    qint64 y;
};
Fixed fixedOf(const Mapping& map, const QPointF& p) {
    const QPointF d = map(p);
    return Fixed{qint64(qRound(d.x() * 64)) * 4, qint64(qRound(d.y() * 64)) * 4};
}

// The part of a row of 256 units that the heights above y (in 1/256 pixel) take.
int rowPart(qint64 y, qint64 row) {
    return int(std::clamp<qint64>(y - row * 256, 0, 256));
}

// Adds the glyphs' contours that reach into the columns left .. right - 1 to the cells, as the engine closes
// and breaks them. A contour wholly left of them adds as much cover as it takes away in every row.
void addGlyphs(const PathContours& glyphs, const Mapping& map, double scale, double left, double right,
               CellRaster& cells) {
    const QPointF* points = glyphs.points.constData();
    for (const PathContours::Contour& contour : glyphs.contours) {
        // The mapping keeps the order of x, so the contour's mapped extent is its extent mapped.
        if (contour.end - contour.begin < 2 || map(contour.bounds.bottomRight()).x() < left ||
            map(contour.bounds.topLeft()).x() >= right)
            continue;
        const QPointF first = points[contour.begin];
        QPointF last = first;
        const auto lineTo = [&](const QPointF& p) {
            const Fixed f = fixedOf(map, p);
            cells.lineTo(f.x, f.y);
        };
        const Fixed f = fixedOf(map, first);
        cells.moveTo(f.x, f.y);
        for (int i = contour.begin + 1; i < contour.end; ++i) {
            if (glyphs.curve[i] && i + 2 < contour.end) {
                CurveFlattening::forFill(last, points[i], points[i + 1], points[i + 2], scale, lineTo);
                last = points[i + 2];
                i += 2;
            } else {
                lineTo(points[i]);
                last = points[i];
            }
        }
        if (last != first)
            lineTo(first);
    }
}

// Whether a contour comes near enough to the clip for its outline to touch a pixel there: a thin line
// with its caps reaches less than two pixels from where it runs.
bool outlineReaches(const QRectF& bounds, const Mapping& map, const QRect& clip) {
    constexpr double reach = 2.0;
    const QPointF a = map(bounds.topLeft());
    const QPointF b = map(bounds.bottomRight());
    return b.x() >= clip.left() - reach && a.x() <= clip.right() + 1 + reach && b.y() >= clip.top() - reach &&
           a.y() <= clip.bottom() + 1 + reach;
}

// The device's thin lines: cut to the whole device, drawn into the pixels it holds.
ThinLine thinLine(const BandRaster::Device& device, QRgba64 penColor, double penWidth) {
    const QRect whole = device.whole.isNull() ? device.rect : device.whole;
    return ThinLine(device.pixels, device.pixelsPerLine, whole, device.clip & device.rect, penColor, penWidth,
                    BandRaster::scaleOf(device.transform),
                    device.clipped ? ThinLine::Blending::Direct : ThinLine::Blending::AsFill);
}

} // namespace

bool BandRaster::takes(const QTransform& transform) {
    return transform.type() <= QTransform::TxScale && transform.m11() > 0.0 && transform.m22() > 0.0;
}

double BandRaster::scaleOf(const QTransform& transform) {
    if (transform.type() <= QTransform::TxTranslate)
        return 1.0;
    return qMax(qAbs(transform.m11()), qAbs(transform.m22()));
}

void BandRaster::fill(const BandGeometry& band, const PathContours& glyphs, const Device& device, uint color,
                      int left, int right, CellRaster& cells) {
    const int n = band.count();
    left = qMax(left, device.clip.left());
    right = qMin(right, device.clip.right() + 1);
    if ((n == 0 && glyphs.isEmpty()) || left >= right)
        return;
    const Scene scene{band};
    const QTransform& t = device.transform;
    const Mapping map(t);
    const double scale = scaleOf(t);
    // Device x of point k.
    const double origin = t.m11() * scene.month(0) * band.xScale + t.dx();
    const double step = t.m11() * band.xScale;
    const auto pointAt = [&](double x) { return (x - origin) / step; };

    // Glyphs may reach beyond the band's ends, where they are filled all the same.
    const QRectF glyphReach = glyphs.isEmpty() ? QRectF() : t.mapRect(glyphs.bounds());
    for (int chunkLeft = left; chunkLeft < right; chunkLeft += CellRaster::maxColumns) {
        const int chunkRight = qMin(right, chunkLeft + CellRaster::maxColumns);
        // The curves that reach into the chunk: from the last point at or left of it to the first at or
        // right of it.
        const double a = std::floor(pointAt(chunkLeft));
        const double b = std::ceil(pointAt(chunkRight));
        const bool bandThere = n > 0 && b >= 0.0 && a <= n - 1;
        const bool glyphsThere =
            !glyphReach.isNull() && glyphReach.right() >= chunkLeft && glyphReach.left() < chunkRight;
        if (!bandThere && !glyphsThere)
            continue;
        const int k0 = bandThere ? int(qBound(0.0, a, double(n - 1))) : 0;
        const int k1 = bandThere ? int(qBound(0.0, b, double(n - 1))) : -1;
        // The rows they take there.
        double low = HUGE_VAL;
        double high = -HUGE_VAL;
        for (int k = k0; k <= k1; ++k) {
            const double y1 = map(scene.top(k)).y();
            const double y2 = map(scene.bottom(k)).y();
            low = std::min({low, y1, y2});
            high = std::max({high, y1, y2});
        }
        if (glyphsThere) {
            low = std::min(low, glyphReach.top());
            high = std::max(high, glyphReach.bottom());
        }
        const int top = qMax(device.clip.top(), int(std::floor(low)) - 1);
        const int bottom = qMin(device.clip.bottom(), int(std::ceil(high)) + 1);
        const Fixed topStart = bandThere ? fixedOf(map, scene.top(k0)) : Fixed{0, 0};
        const Fixed bottomStart = bandThere ? fixedOf(map, scene.bottom(k0)) : Fixed{0, 0};
        for (int rowTop = top; rowTop <= bottom; rowTop += CellRaster::maxRows) {
            const QRect area(chunkLeft, rowTop, chunkRight - chunkLeft,
                             qMin(CellRaster::maxRows, bottom - rowTop + 1));
            cells.begin(area);
            const auto lineTo = [&](const QPointF& p) {
                const Fixed f = fixedOf(map, p);
                cells.lineTo(f.x, f.y);
            };
            const auto flatten = [&](QPointF p1, QPointF p2, QPointF p3, QPointF p4) {
                CurveFlattening::forFill(p1, p2, p3, p4, scale, lineTo);
            };
            if (bandThere) {
                cells.moveTo(topStart.x, topStart.y);
                for (int k = k0; k < k1; ++k)
                    scene.curve(k, k + 1, band.tops, flatten);
                if (k1 == n - 1) {
                    // Down at the last point: a vertical curve, so one straight line.
                    lineTo(scene.bottom(k1));
                } else {
                    // What lies right of the chunk adds nothing to it.
                    const Fixed f = fixedOf(map, scene.bottom(k1));
                    cells.moveTo(f.x, f.y);
                }
                for (int k = k1; k > k0; --k)
                    scene.curve(k, k - 1, band.bottoms, flatten);
                if (k0 == 0) {
                    lineTo(scene.top(0));
                } else {
                    // What lies left of the chunk adds only its cover: from the bottom of point k0 round the
                    // band's start to its top there, in the rows between the two.
                    const qint64 from = qMax<qint64>(std::min(topStart.y, bottomStart.y) >> 8, area.top());
                    const qint64 to = qMin<qint64>(std::max(topStart.y, bottomStart.y) >> 8, area.bottom());
                    for (qint64 r = from; r <= to; ++r)
                        cells.addLeftCover(int(r - area.top()),
                                           rowPart(topStart.y, r) - rowPart(bottomStart.y, r));
                }
            }
            if (!glyphs.isEmpty())
                addGlyphs(glyphs, map, scale, chunkLeft, chunkRight, cells);
            cells.sweep([&](int x, int y, int length, int coverage) {
                const int from = qMax(x, chunkLeft);
                const int to = qMin(x + length, chunkRight);
                if (from < to)
                    PixelBlend::fill(device.pixels + qsizetype(y) * device.pixelsPerLine + from, to - from,
                                     color, coverage);
            });
        }
    }
}

void BandRaster::outline(const BandGeometry& band, int first, int last, const Device& device,
                         QRgba64 penColor, double penWidth) {
    const int n = band.count();
    first = qMax(first, 0);
    last = qMin(last, n - 1);
    if (first > last)
        return;
    const Scene scene{band};
    const QTransform& t = device.transform;
    const Mapping map(t);
    ThinLine line = thinLine(device, penColor, penWidth);
    if (!line.marks())
        return;
    const auto draw = [&](QPointF p1, QPointF p2, QPointF p3, QPointF p4) {
        CurveFlattening::forThinOutline(map(p1), map(p2), map(p3), map(p4), ThinLine::NoCaps,
                                        [&](const QPointF& a, const QPointF& b, int caps) {
                                            line.draw(a.x(), a.y(), b.x(), b.y(), caps);
                                        });
    };
    for (int k = first; k < last; ++k)
        scene.curve(k, k + 1, band.tops, draw);
    if (last == n - 1) {
        // Down at the last point.
        const QPointF a = map(scene.top(last));
        const QPointF b = map(scene.bottom(last));
        if (a != b)
            line.draw(a.x(), a.y(), b.x(), b.y());
    }
    for (int k = last; k > first; --k)
        scene.curve(k, k - 1, band.bottoms, draw);
    if (first == 0) {
        const QPointF a = map(scene.bottom(0));
        const QPointF b = map(scene.top(0));
        if (a != b)
            line.draw(a.x(), a.y(), b.x(), b.y());
    }
}

void BandRaster::outline(const PathContours& path, const Device& device, QRgba64 penColor, double penWidth,
                         bool squareCaps) {
    const QTransform& t = device.transform;
    const Mapping map(t);
    ThinLine line = thinLine(device, penColor, penWidth);
    if (!line.marks())
        return;
    const QPointF* points = path.points.constData();
    for (const PathContours::Contour& contour : path.contours) {
        if (!outlineReaches(contour.bounds, map, device.clip))
            continue;
        const int end = contour.end;
        // A subpath that ends where it began has no caps.
        const bool capped = !contour.closed && squareCaps;
        int caps = capped ? ThinLine::CapBegin : ThinLine::NoCaps;
        QPointF p = map(points[contour.begin]);
        for (int i = contour.begin + 1; i < end;) {
            if (path.curve[i] && i + 2 < end) {
                if (capped && i == end - 3)
                    caps |= ThinLine::CapEnd;
                const QPointF to = map(points[i + 2]);
                CurveFlattening::forThinOutline(p, map(points[i]), map(points[i + 1]), to, caps,
                                                [&](const QPointF& a, const QPointF& b, int c) {
                                                    line.draw(a.x(), a.y(), b.x(), b.y(), c);
                                                });
                p = to;
                i += 3;
            } else {
                if (capped && i == end - 1)
                    caps |= ThinLine::CapEnd;
                const QPointF to = map(points[i]);
                line.draw(p.x(), p.y(), to.x(), to.y(), caps);
                p = to;
                ++i;
            }
            caps = ThinLine::NoCaps;
        }
    }
}
