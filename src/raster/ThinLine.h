#pragma once

#include <QRect>
#include <QRgba64>
#include <QtGlobal>

// Antialiased lines one pixel wide at a given opacity, drawn as Qt's raster engine draws a pen that is no
// wider than a pixel on the device: along the line's longer axis, each step sharing its coverage between the
// two pixels it falls between, in 26.6 and 16.16 fixed point. Lines are first cut to a pixel beyond the
// device, as the engine cuts them, so that a line comes out the same whatever else is drawn.
class ThinLine {
public:
    // How the engine puts a line's pixels down. Where the painter clips to a rectangle, each pixel gets the
    // pen's colour weakened by the pen's opacity and the pixel's coverage; otherwise the coverage is
    // scaled by the opacity first and the pixel filled with the full colour, as any fill is.
    enum class Blending { Direct, AsFill };

    // pixels: the device's first row; clip: the pixels that may change (within device); color: the pen's
    // colour, premultiplied; width and scale: the pen's and the device's, which make its opacity.
    ThinLine(uint* pixels, qsizetype pixelsPerLine, const QRect& device, const QRect& clip, QRgba64 color,
             double width, double scale, Blending blending);

    // Where an open line ends in a square cap, half a pixel is added at that end.
    enum Caps { NoCaps = 0, CapBegin = 1, CapEnd = 2 };

    void draw(double x1, double y1, double x2, double y2, int caps = NoCaps);
    // Whether drawing changes any pixel. A pen far thinner than a pixel is so faint that every pixel's
    // share of it rounds to nothing: the engine leaves the pixels as they were.
    bool marks() const;

    // The opacity 0..256 of a pen that wide on a device of that scale.
    static int opacityOf(double width, double scale);

private:
    bool cut(double& x1, double& y1, double& x2, double& y2) const;
    void pixel(int x, int y, uint coverage);

    uint* pixels;
    qsizetype pixelsPerLine;
    QRect clip;
    uint color;
    int opacity;
    Blending blending;
    double xmin, xmax, ymin, ymax;
};
