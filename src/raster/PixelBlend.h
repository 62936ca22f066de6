#pragma once

#include <QRgba64>
#include <QtGlobal>

// Blending of premultiplied ARGB pixels as Qt's raster engine blends them, to the last bit: every channel
// multiplied by an 8-bit weight with the same rounding.
class PixelBlend {
public:
    // A colour as the engine paints it at a painter opacity (0..256, the engine's rounding), premultiplied.
    static QRgba64 faded(QRgba64 c, int opacity) {
        return qPremultiply(QRgba64::fromRgba64(c.red(), c.green(), c.blue(),
                                                quint16((uint(c.alpha()) * uint(opacity)) >> 8)));
    }
    // Every channel of x times a / 255, rounded as the engine rounds.
    static uint byteMul(uint x, uint a) {
        quint64 t = ((quint64(x) | (quint64(x) << 24)) & 0x00ff00ff00ff00ffULL) * a;
        t = (t + ((t >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
        t &= 0x00ff00ff00ff00ffULL;
        return uint(t) | uint(t >> 24);
    }
    // color (premultiplied) drawn over the pixel.
    static uint over(uint pixel, uint color) { return color + byteMul(pixel, (~color) >> 24); }
    // A solid fill of a colour (premultiplied) with that coverage (1..255) over count pixels: an opaque
    // colour replaces what lies under the covered part, a translucent one is drawn over it.
    static void fill(uint* pixels, int count, uint color, int coverage) {
        if (color >> 24 == 255) {
            if (coverage == 255) {
                for (int i = 0; i < count; ++i)
                    pixels[i] = color;
                return;
            }
            const uint c = byteMul(color, uint(coverage));
            const uint rest = 255 - uint(coverage);
            for (int i = 0; i < count; ++i)
                pixels[i] = c + byteMul(pixels[i], rest);
            return;
        }
        const uint c = coverage == 255 ? color : byteMul(color, uint(coverage));
        for (int i = 0; i < count; ++i)
            pixels[i] = over(pixels[i], c);
    }
};
