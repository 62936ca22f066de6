#include "graph/baseline/Baseline.h"

#include <limits>

const QVector<Baseline::Entry>& Baseline::table() {
    static const QVector<Entry> entries = {
        {QStringLiteral("x-axis"), xAxis},
        {QStringLiteral("symmetric"), symmetric},
        {QStringLiteral("baseline"), reference},
    };
    return entries;
}

const Baseline::Entry& Baseline::of(int code) {
    return table()[code < 0 || code >= table().size() ? 0 : code];
}

QVector<double> Baseline::xAxis(const QVector<int>&, const QVector<SeriesPlacement>&, int span) {
    return QVector<double>(span + 1, 0.0);
}

QVector<double> Baseline::symmetric(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                    int span) {
    // Layer by layer adds in the same order per month as month by month would.
    QVector<double> base(span + 1, 0.0);
    for (int s : order) {
        const SeriesPlacement& p = placements[s];
        for (int k = 0; k < p.count; ++k)
            base[p.first + k] += p.points[k].value;
    }
    for (double& b : base)
        b *= -0.5;
    return base;
}

QVector<double> Baseline::reference(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                    int span) {
    QVector<double> base(span + 1, 0.0);
    if (order.isEmpty())
        return base;
    int r = qMax(0, order.indexOf(0));
    for (int m = 0; m <= span; ++m) {
        if (placements[order[r]].last() < m) {
            for (int k = r + 1; k < order.size(); ++k) {
                if (placements[order[k]].covers(m)) {
                    r = k;
                    break;
                }
            }
        }
        double below = 0.0;
        for (int k = 0; k < r; ++k)
            below += placements[order[k]].valueAt(m);
        base[m] = -(below + 0.5 * placements[order[r]].valueAt(m));
    }
    return base;
}

double Baseline::lowest(const QVector<double>& baseline) {
    double low = std::numeric_limits<double>::max();
    for (double b : baseline)
        low = qMin(low, b);
    return low;
}
