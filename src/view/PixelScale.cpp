#include "view/PixelScale.h"

#include "graph/GraphSettings.h"

#include <cmath>

double PixelScale::fitted(const QSizeF& viewport, const QRectF& sceneRect, double width, int monthSpan) {
    const double viewWidth = viewport.width();
    const double viewHeight = viewport.height();
    if (!(viewWidth > 0.0) || !(viewHeight > 0.0) || !(sceneRect.width() > 0.0) ||
        !(sceneRect.height() > 0.0) || !std::isfinite(width) || monthSpan <= 0)
        return NAN;
    const double viewAspect = viewWidth / viewHeight;
    const double sceneAspect = sceneRect.width() / sceneRect.height();
    double fittedWidth = viewWidth;
    double fittedHeight = viewWidth / sceneAspect;
    if (sceneAspect < viewAspect) {
        fittedWidth = sceneAspect * viewHeight;
        fittedHeight = viewHeight;
    }
    const double diagonal = std::hypot(fittedWidth, fittedHeight);
    const double widening = std::trunc(width) / (GraphSettings::unitsPerMonth * monthSpan);
    return diagonal * widening / (sceneAspect * referenceLength);
}
