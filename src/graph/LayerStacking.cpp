#include "graph/LayerStacking.h"

#include <limits>

LayerStacking LayerStacking::stack(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                   const QVector<double>& baseline) {
    LayerStacking result;
    result.top = baseline;
    result.bottoms.reserve(order.size());
    for (int s : order) {
        const SeriesPlacement& p = placements[s];
        QVector<double> bottom(p.count);
        for (int k = 0; k < p.count; ++k) {
            double& running = result.top[p.first + k];
            bottom[k] = running;
            running += p.points[k].value;
        }
        result.bottoms.append(bottom);
    }
    return result;
}

double LayerStacking::maxTop(const QVector<double>& top) {
    double highest = std::numeric_limits<double>::min();
    for (double t : top)
        highest = qMax(highest, t);
    return highest;
}

double LayerStacking::graphHeight(double maxTop, double lowestBaseline, double yScale) {
    return (maxTop - lowestBaseline) * yScale;
}
