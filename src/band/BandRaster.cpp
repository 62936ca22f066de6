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

// A device point in 1/256 pixel, rounded to 1/64 as the engine rounds it.
struct Fixed {
    qint64 x;
    qint64 y;
};
Fixed fixedOf(const QTransform& t, const QPointF& p) {
    const QPointF d = t.map(p);
    return Fixed{qint64(qRound(d.x() * 64)) * 4, qint64(qRound(d.y() * 64)) * 4};
}

// The part of a row of 256 units that the heights above y (in 1/256 pixel) take.
int rowPart(qint64 y, qint64 row) {
    return int(std::clamp<qint64>(y - row * 256, 0, 256));
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

void BandRaster::fill(const BandGeometry& band, const Device& device, uint color, int left, int right,
                      CellRaster& cells) {
    const int n = band.count();
    left = qMax(left, device.clip.left());
    right = qMin(right, device.clip.right() + 1);
    if (n == 0 || left >= right)
        return;
    const Scene scene{band};
    const QTransform& t = device.transform;
    const double scale = scaleOf(t);
    // Device x of point k.
    const double origin = t.m11() * scene.month(0) * band.xScale + t.dx();
    const double step = t.m11() * band.xScale;
    const auto pointAt = [&](double x) { return (x - origin) / step; };

    for (int chunkLeft = left; chunkLeft < right; chunkLeft += CellRaster::maxColumns) {
        const int chunkRight = qMin(right, chunkLeft + CellRaster::maxColumns);
        // The curves that reach into the chunk: from the last point at or left of it to the first at or
        // right of it.
        const double a = std::floor(pointAt(chunkLeft));
        const double b = std::ceil(pointAt(chunkRight));
        if (!(b >= 0.0) || !(a <= n - 1))
            continue;
        const int k0 = int(qBound(0.0, a, double(n - 1)));
        const int k1 = int(qBound(0.0, b, double(n - 1)));
        // The rows the band takes there.
        double low = HUGE_VAL;
        double high = -HUGE_VAL;
        for (int k = k0; k <= k1; ++k) {
            low = std::min({low, t.map(scene.top(k)).y(), t.map(scene.bottom(k)).y()});
            high = std::max({high, t.map(scene.top(k)).y(), t.map(scene.bottom(k)).y()});
        }
        const int top = qMax(device.clip.top(), int(std::floor(low)) - 1);
        const int bottom = qMin(device.clip.bottom(), int(std::ceil(high)) + 1);
        const Fixed topStart = fixedOf(t, scene.top(k0));
        const Fixed bottomStart = fixedOf(t, scene.bottom(k0));
        for (int rowTop = top; rowTop <= bottom; rowTop += CellRaster::maxRows) {
            const QRect area(chunkLeft, rowTop, chunkRight - chunkLeft,
                             qMin(CellRaster::maxRows, bottom - rowTop + 1));
            cells.begin(area);
            const auto lineTo = [&](const QPointF& p) {
                const Fixed f = fixedOf(t, p);
                cells.lineTo(f.x, f.y);
            };
            const auto flatten = [&](QPointF p1, QPointF p2, QPointF p3, QPointF p4) {
                CurveFlattening::forFill(p1, p2, p3, p4, scale, lineTo);
            };
            cells.moveTo(topStart.x, topStart.y);
            for (int k = k0; k < k1; ++k)
                scene.curve(k, k + 1, band.tops, flatten);
            if (k1 == n - 1) {
                // Down at the last point: a vertical curve, so one straight line.
                lineTo(scene.bottom(k1));
            } else {
                // What lies right of the chunk adds nothing to it.
                const Fixed f = fixedOf(t, scene.bottom(k1));
                cells.moveTo(f.x, f.y);
            }
            for (int k = k1; k > k0; --k)
                scene.curve(k, k - 1, band.bottoms, flatten);
            if (k0 == 0) {
                lineTo(scene.top(0));
            } else {
                // What lies left of the chunk adds only its cover: from the bottom of point k0 round the
                // band's start to its top there, row by row.
                for (int row = 0; row < area.height(); ++row) {
                    const qint64 r = area.top() + row;
                    cells.addLeftCover(row, rowPart(topStart.y, r) - rowPart(bottomStart.y, r));
                }
            }
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
    ThinLine line(device.pixels, device.pixelsPerLine, device.rect, device.clip, penColor, penWidth,
                  scaleOf(t), device.clipped ? ThinLine::Blending::Direct : ThinLine::Blending::AsFill);
    const auto draw = [&](QPointF p1, QPointF p2, QPointF p3, QPointF p4) {
        CurveFlattening::forThinOutline(
            t.map(p1), t.map(p2), t.map(p3), t.map(p4),
            [&](const QPointF& a, const QPointF& b) { line.draw(a.x(), a.y(), b.x(), b.y()); });
    };
    for (int k = first; k < last; ++k)
        scene.curve(k, k + 1, band.tops, draw);
    if (last == n - 1) {
        // Down at the last point.
        const QPointF a = t.map(scene.top(last));
        const QPointF b = t.map(scene.bottom(last));
        if (a != b)
            line.draw(a.x(), a.y(), b.x(), b.y());
    }
    for (int k = last; k > first; --k)
        scene.curve(k, k - 1, band.bottoms, draw);
    if (first == 0) {
        const QPointF a = t.map(scene.bottom(0));
        const QPointF b = t.map(scene.top(0));
        if (a != b)
            line.draw(a.x(), a.y(), b.x(), b.y());
    }
}
