#pragma once

#include "band/BandGeometry.h"

#include <QPainterPath>
#include <QVector>

// The outline of one layer: along its top edge from left to right in smooth cubic segments,
// down at the right end, back along its bottom edge and up again to the start. Positions are
// given in data units (months, value units) and mapped to the scene by the two scales.
class LayerOutline {
public:
    LayerOutline(double xScale, double yScale);

    void moveTo(double x, double y);
    void lineTo(double x, double y);
    // Both control points lie halfway in x, the first at the old height and the second at the new
    // one, so every segment leaves and enters its end points horizontally.
    void curveTo(double x, double y);

    // The whole band, with room for that many more path elements (its label) so that the path is
    // allocated once at its final size.
    static LayerOutline band(const BandGeometry& band, int extraElements = 0);
    // The band from point firstPoint to point lastPoint: the same segments as the whole band there,
    // closed by straight vertical lines where it is cut. Empty when firstPoint > lastPoint.
    static LayerOutline piece(const BandGeometry& band, int firstPoint, int lastPoint, int extraElements = 0);
    // Path elements of the band of n points.
    static int elementCount(int n);

    QPainterPath path;
    double penX = 0.0;
    double penY = 0.0;

private:
    double xScale;
    double yScale;
};
