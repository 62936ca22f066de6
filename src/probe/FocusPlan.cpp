#include "probe/FocusPlan.h"

#include "band/BandGeometry.h"

#include <cmath>

FocusPlan FocusPlan::of(const BandGeometry& band, double pixelsPerUnit, double viewportHeight, double share) {
    FocusPlan plan;
    if (band.count() == 0 || !(pixelsPerUnit > 0.0) || !(viewportHeight > 0.0))
        return plan;
    int thickest = 0;
    for (int k = 1; k < band.count(); ++k)
        if (band.tops[k] - band.bottoms[k] > band.tops[thickest] - band.bottoms[thickest])
            thickest = k;
    const double bottom = band.bottoms[thickest];
    const double top = band.tops[thickest];
    plan.centre = QPointF(band.sceneX(thickest), -(bottom + top) / 2.0 * band.yScale);
    const double shown = (top - bottom) * band.yScale * pixelsPerUnit;
    const double wanted = share * viewportHeight;
    if (shown > 0.0 && shown < wanted)
        plan.zoom = qMin(wanted / shown, largestZoom);
    plan.valid = std::isfinite(plan.centre.x()) && std::isfinite(plan.centre.y()) && std::isfinite(plan.zoom);
    return plan;
}
