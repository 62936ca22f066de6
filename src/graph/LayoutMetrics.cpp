#include "graph/LayoutMetrics.h"

#include "graph/GraphLayout.h"

LayoutMetrics LayoutMetrics::of(const GraphLayout& layout) {
    double squares = 0.0;
    qint64 pairs = 0;
    double weightedSquares = 0.0;
    double weights = 0.0;
    for (const LayerLayout& layer : layout.layers) {
        const QVector<double>& b = layer.band.bottoms;
        const QVector<double>& t = layer.band.tops;
        for (int k = 0; k + 1 < layer.band.count(); ++k) {
            const double bottomSlope = b[k + 1] - b[k];
            const double topSlope = t[k + 1] - t[k];
            squares += bottomSlope * bottomSlope + topSlope * topSlope;
            ++pairs;
            const double weight = ((t[k] - b[k]) + (t[k + 1] - b[k + 1])) / 2.0;
            const double centreSlope = (b[k + 1] + t[k + 1]) / 2.0 - (b[k] + t[k]) / 2.0;
            weightedSquares += weight * centreSlope * centreSlope;
            weights += weight;
        }
    }
    LayoutMetrics metrics;
    if (pairs > 0)
        metrics.wiggle = squares / double(pairs);
    if (weights > 0.0)
        metrics.weightedWiggle = weightedSquares / weights;
    return metrics;
}
