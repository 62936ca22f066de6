#include "graph/baseline/Baseline.h"

#include <cmath>
#include <limits>

const QVector<Baseline::Entry>& Baseline::table() {
    static const QVector<Entry> entries = {
        {QStringLiteral("x-axis"), xAxis, Anchor::Bottom, false},
        {QStringLiteral("symmetric"), symmetric, Anchor::Middle, false},
        {QStringLiteral("baseline"), reference, Anchor::Reference, false},
        // Shares stand on y = 0 as the x-axis stands its values.
        {QStringLiteral("percent"), xAxis, Anchor::Bottom, true},
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

QVector<int> Baseline::referencePositions(const QVector<int>& order,
                                          const QVector<SeriesPlacement>& placements, int span) {
    QVector<int> positions(span + 1, 0);
    if (order.isEmpty())
        return positions;
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
        positions[m] = r;
    }
    return positions;
}

QVector<double> Baseline::reference(const QVector<int>& order, const QVector<SeriesPlacement>& placements,
                                    int span) {
    QVector<double> base(span + 1, 0.0);
    if (order.isEmpty())
        return base;
    const QVector<int> positions = referencePositions(order, placements, span);
    for (int m = 0; m <= span; ++m) {
        const int r = positions[m];
        double below = 0.0;
        for (int k = 0; k < r; ++k)
            below += placements[order[k]].valueAt(m);
        base[m] = -(below + 0.5 * placements[order[r]].valueAt(m));
    }
    return base;
}

QVector<SeriesPlacement> Baseline::shares(const QVector<SeriesPlacement>& placements, int span,
                                          QVector<DataPoint>* values) {
    QVector<double> totals(span + 1, 0.0);
    qsizetype points = 0;
    for (const SeriesPlacement& p : placements) {
        for (int k = 0; k < p.count; ++k)
            totals[p.first + k] += p.points[k].value;
        points += p.count;
    }
    values->resize(points);
    QVector<SeriesPlacement> scaled = placements;
    DataPoint* next = values->data();
    for (SeriesPlacement& p : scaled) {
        for (int k = 0; k < p.count; ++k) {
            const double total = totals[p.first + k];
            next[k] = p.points[k];
            // A month with nothing in it stays empty; an overflowing total draws nothing either.
            next[k].value =
                total > 0.0 && std::isfinite(total) ? fullHeight * (p.points[k].value / total) : 0.0;
        }
        p.points = next;
        next += p.count;
    }
    return scaled;
}

double Baseline::lowest(const QVector<double>& baseline) {
    double low = std::numeric_limits<double>::max();
    for (double b : baseline)
        low = qMin(low, b);
    return low;
}
