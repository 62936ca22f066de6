#pragma once

#include "band/BandGeometry.h"
#include "raster/PathContours.h"

#include <QRect>
#include <QRgba64>
#include <QTransform>

class CellRaster;

// A band drawn straight into the pixels of a 32-bit raster device as Qt's raster engine would fill and
// outline its path there, to the last bit, without building the path: the curves broken into pieces as the
// engine breaks them, the fill's coverage computed cell by cell as the engine computes it but only over the
// columns asked for, the outline drawn as the engine draws a pen no wider than a pixel. A band's path runs
// along its tops left to right, down at its last point, back along its bottoms and up at its first.
class BandRaster {
public:
    // Where the band goes: pixels of a device of format RGB32 or ARGB32 premultiplied, the pixels that may
    // change, and the transform from the band's scene units to device pixels (scaling and moving only).
    struct Device {
        uint* pixels = nullptr;
        qsizetype pixelsPerLine = 0;
        QRect rect;
        QRect clip;
        QTransform transform;
        // Whether the painter clips to a rectangle: it decides how the engine blends a thin pen.
        bool clipped = false;
        // The whole device the picture is drawn on when the pixels are a piece of it (a tile): the engine
        // cuts thin lines to its device before it steps along them, so lines are cut to this to come out
        // as on the whole. Null: rect.
        QRect whole;
    };

    // Whether the transform is one the band can be drawn under: scaling (by positive factors) and moving.
    static bool takes(const QTransform& transform);
    // The engine's scale of a transform, which decides how finely curves are broken and how strong a thin
    // pen is.
    static double scaleOf(const QTransform& transform);

    // Fills the device columns left .. right - 1 (within the clip) with the colour (premultiplied); the
    // outlines of glyphs (scene units) given with the band cut holes in it, as its path's odd-even rule does.
    // An empty band fills the glyphs alone.
    static void fill(const BandGeometry& band, const PathContours& glyphs, const Device& device, uint color,
                     int left, int right, CellRaster& cells);
    // The outline of the points first .. last (the band's ends included where they are among them), in the
    // pen's colour (premultiplied) at the opacity of a pen that wide.
    static void outline(const BandGeometry& band, int first, int last, const Device& device, QRgba64 penColor,
                        double penWidth);
    // Any path's outline (scene units) so drawn; open subpaths end in square caps when asked for.
    static void outline(const PathContours& path, const Device& device, QRgba64 penColor, double penWidth,
                        bool squareCaps);
};
