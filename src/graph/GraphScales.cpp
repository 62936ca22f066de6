#include "graph/GraphScales.h"

double GraphScales::xScale(double xRange, const MonthRange& range) {
    return xRange / double(range.divisorSpan());
}

QVector<double> GraphScales::totals(const QVector<SeriesPlacement>& placements, int span) {
    QVector<double> sums(span + 1, 0.0);
    for (const SeriesPlacement& p : placements) {
        for (int k = 0; k < p.count; ++k)
            sums[p.first + k] += p.points[k].value;
    }
    return sums;
}

double GraphScales::typicalTotal(const QVector<double>& totals) {
    double largest = 0.0;
    for (double t : totals)
        largest = qMax(largest, t);
    const double threshold = 0.01 * largest;
    int n = 0;
    for (double t : totals) {
        if (t > threshold)
            ++n;
    }
    double mean = 0.0;
    for (double t : totals) {
        if (t > threshold)
            mean += t / n;
    }
    return mean;
}

double GraphScales::yScale(double typicalTotal) {
    return typicalTotal > 0.0 ? 1.0 / (typicalTotal / 1000.0) : 1.0;
}
