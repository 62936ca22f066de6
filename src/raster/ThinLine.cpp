#include "raster/ThinLine.h"

#include "raster/PixelBlend.h"

#include <utility>

ThinLine::ThinLine(uint* pixels, qsizetype pixelsPerLine, const QRect& device, const QRect& clip, QRgba64 c,
                   double width, double scale, Blending blending)
    : pixels(pixels)
    , pixelsPerLine(pixelsPerLine)
    , clip(clip & device)
    , opacity(opacityOf(width, scale))
    , blending(blending)
    , xmin(device.left() - 1)
    , xmax(device.right() + 2)
    , ymin(device.top() - 1)
    , ymax(device.bottom() + 2) {
    if (blending == Blending::AsFill) {
        color = c.toArgb32();
        return;
    }
    const auto times = [this](quint16 v) { return quint16((uint(v) * uint(opacity)) >> 8); };
    color =
        QRgba64::fromRgba64(times(c.red()), times(c.green()), times(c.blue()), times(c.alpha())).toArgb32();
}

bool ThinLine::marks() const {
    // Drawn as a fill, a pixel's share is coverage (at most 255) times opacity / 256.
    if (blending == Blending::AsFill)
        return color != 0 && opacity >= 2;
    return color != 0;
}

int ThinLine::opacityOf(double width, double scale) {
    return qBound(0, static_cast<int>(256 * width * scale), 256);
}

// False when the line lies wholly outside the device and its margin.
bool ThinLine::cut(double& x1, double& y1, double& x2, double& y2) const {
    if (x1 < xmin) {
        if (x2 <= xmin)
            return false;
        y1 += (y2 - y1) / (x2 - x1) * (xmin - x1);
        x1 = xmin;
    } else if (x1 > xmax) {
        if (x2 >= xmax)
            return false;
        y1 += (y2 - y1) / (x2 - x1) * (xmax - x1);
        x1 = xmax;
    }
    if (x2 < xmin) {
        y2 += (y2 - y1) / (x2 - x1) * (xmin - x2);
        x2 = xmin;
    } else if (x2 > xmax) {
        y2 += (y2 - y1) / (x2 - x1) * (xmax - x2);
        x2 = xmax;
    }
    if (y1 < ymin) {
        if (y2 <= ymin)
            return false;
        x1 += (x2 - x1) / (y2 - y1) * (ymin - y1);
        y1 = ymin;
    } else if (y1 > ymax) {
        if (y2 >= ymax)
            return false;
        x1 += (x2 - x1) / (y2 - y1) * (ymax - y1);
        y1 = ymax;
    }
    if (y2 < ymin) {
        x2 += (x2 - x1) / (y2 - y1) * (ymin - y2);
        y2 = ymin;
    } else if (y2 > ymax) {
        x2 += (x2 - x1) / (y2 - y1) * (ymax - y2);
        y2 = ymax;
    }
    return true;
}

void ThinLine::pixel(int x, int y, uint coverage) {
    if (x < clip.left() || x > clip.right() || y < clip.top() || y > clip.bottom())
        return;
    uint* p = pixels + qsizetype(y) * pixelsPerLine + x;
    if (blending == Blending::Direct) {
        *p = PixelBlend::over(*p, PixelBlend::byteMul(color, coverage));
        return;
    }
    const int weakened = int(coverage) * opacity >> 8;
    if (weakened > 0)
        PixelBlend::fill(p, 1, color, weakened);
}

void ThinLine::draw(double rx1, double ry1, double rx2, double ry2, int caps) {
    if (!cut(rx1, ry1, rx2, ry2))
        return;
    int x1 = int(rx1 * 64.);
    int y1 = int(ry1 * 64.);
    int x2 = int(rx2 * 64.);
    int y2 = int(ry2 * 64.);
    const int dx = x2 - x1;
    const int dy = y2 - y1;
    // Steps along the longer axis; the position across it in 16.16, its fraction splitting the coverage.
    const auto run = [this](int a1, int a2, int b1, qint64 increment, int ends, bool alongY) {
        qint64 across = qint64(b1 - 32) * (1 << 10);
        across -= ((a1 & 63) - 32) * increment >> 6;
        if (ends & CapBegin) {
            a1 -= 32;
            across -= increment >> 1;
        }
        if (ends & CapEnd)
            a2 += 32;
        int a = a1 >> 6;
        const int end = a2 >> 6;
        int startAlpha, endAlpha;
        if (a == end) {
            startAlpha = a2 - a1;
            endAlpha = 0;
        } else {
            startAlpha = 64 - (a1 & 63);
            endAlpha = a2 & 63;
        }
        const auto put = [&](uint share, uint weight) {
            const int b = int(across >> 16);
            const uint high = (255 - share) * weight >> 6;
            const uint low = share * weight >> 6;
            if (alongY) {
                pixel(b, a, high);
                pixel(b + 1, a, low);
            } else {
                pixel(a, b, high);
                pixel(a, b + 1, low);
            }
        };
        put(quint8(across >> 8), uint(startAlpha));
        across += increment;
        ++a;
        while (a < end) {
            put(quint8(across >> 8), 64);
            across += increment;
            ++a;
        }
        if (endAlpha)
            put(quint8(across >> 8), uint(endAlpha));
    };
    // A line drawn the other way round has its caps the other way round too.
    const auto swapped = [](int c) { return ((c & CapBegin) << 1) | ((c & CapEnd) >> 1); };
    if (qAbs(dx) < qAbs(dy)) {
        const qint64 increment = qint64(dx) * (1 << 16) / dy;
        if (y1 > y2) {
            std::swap(y1, y2);
            std::swap(x1, x2);
            caps = swapped(caps);
        }
        run(y1, y2, x1, increment, caps, true);
    } else {
        if (!dx)
            return;
        const qint64 increment = qint64(dy) * (1 << 16) / dx;
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            caps = swapped(caps);
        }
        run(x1, x2, y1, increment, caps, false);
    }
}
