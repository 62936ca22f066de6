#include "graph/order/OrderObjective.h"

#include <algorithm>
#include <type_traits>

OrderObjective::OrderObjective(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                               const QVector<int>& order)
    : placements(placements)
    , span(qMax(0, span))
    , pairs(qMax(0, span))
    , anchor(anchor)
    , layers(order)
    , positions(placements.size(), -1)
    , n(int(order.size())) {
    for (int i = 0; i < n; ++i)
        positions[order[i]] = i;
    const qint64 rows = qint64(n) + 1;
    cg.fill(0.0, rows * pairs);
    cw.fill(0.0, rows * pairs);
    cwd.fill(0.0, rows * pairs);
    if (anchor == Baseline::Anchor::Reference)
        cf.fill(0.0, rows * (span + 1));
    q1.fill(0.0, pairs);
    rho.fill(0.0, pairs);
    monthSum.fill(0.0, pairs);
    seriesG.fill(0.0, qint64(placements.size()) * pairs);
    seriesW.fill(0.0, qint64(placements.size()) * pairs);
    for (int s = 0; s < placements.size(); ++s) {
        int lo = 0;
        int hi = 0;
        pairsOf(placements[s], pairs, &lo, &hi);
        for (int m = lo; m <= hi; ++m) {
            const PairChange change = pairChange(placements[s], m);
            seriesG[qint64(s) * pairs + m] = change.g;
            seriesW[qint64(s) * pairs + m] = change.w;
        }
    }
    referenceFirst.fill(1, placements.size());
    referenceLast.fill(0, placements.size());
    rebuildRows(0, n - 1, 0, pairs - 1);
    for (int s : layers)
        for (int m = 0; m < pairs; ++m)
            weightSum += w(s, m);
    if (anchor == Baseline::Anchor::Reference)
        findReferences();
    refreshMonths(0, pairs - 1);
}

double OrderObjective::wiggle() const {
    return weightSum > 0.0 ? total / weightSum : 0.0;
}

void OrderObjective::pairsOf(const SeriesPlacement& p, int pairs, int* lo, int* hi) {
    *lo = pairs;
    *hi = -1;
    if (p.count > 0) {
        *lo = qMax(0, p.first - 1);
        *hi = qMin(pairs - 1, p.last());
    }
}

void OrderObjective::splitByValue(const QVector<SeriesPlacement>& placements, QVector<int>* withValue,
                                  QVector<int>* without) {
    for (int s = 0; s < placements.size(); ++s)
        (placements[s].count > 0 ? withValue : without)->append(s);
}

void OrderObjective::monthsOf(int series, int* from, int* to) const {
    pairsOf(placements[series], pairs, from, to);
    if (anchor == Baseline::Anchor::Reference && referenceFirst[series] <= referenceLast[series]) {
        *from = qMin(*from, qMax(0, referenceFirst[series] - 1));
        *to = qMax(*to, qMin(pairs - 1, referenceLast[series]));
    }
}

void OrderObjective::rebuildRows(int from, int to, int lo, int hi) {
    if (lo > hi)
        return;
    for (int k = qMax(0, from); k <= to && k < n; ++k) {
        const int s = layers[k];
        const double* g0 = row(cg, k, pairs);
        double* g1 = row(cg, k + 1, pairs);
        const double* w0 = row(cw, k, pairs);
        double* w1 = row(cw, k + 1, pairs);
        const double* d0 = row(cwd, k, pairs);
        double* d1 = row(cwd, k + 1, pairs);
        for (int m = lo; m <= hi; ++m) {
            const double gs = g(s, m);
            const double ws = w(s, m);
            g1[m] = g0[m] + gs;
            w1[m] = w0[m] + ws;
            d1[m] = d0[m] + ws * (g0[m] + gs / 2.0);
        }
        if (!cf.isEmpty()) {
            const double* f0 = row(cf, k, span + 1);
            double* f1 = row(cf, k + 1, span + 1);
            for (int t = lo; t <= hi + 1; ++t)
                f1[t] = f0[t] + f(s, t);
        }
    }
}

void OrderObjective::findReferences() {
    std::fill(referenceFirst.begin(), referenceFirst.end(), 1);
    std::fill(referenceLast.begin(), referenceLast.end(), 0);
    referenceSeries.fill(0, span + 1);
    if (layers.isEmpty())
        return;
    const QVector<int> at = Baseline::referencePositions(layers, placements, span);
    for (int t = 0; t <= span; ++t) {
        const int s = layers[at[t]];
        referenceSeries[t] = s;
        if (referenceFirst[s] > referenceLast[s])
            referenceFirst[s] = t;
        referenceLast[s] = t;
    }
}

void OrderObjective::refreshMonths(int lo, int hi) {
    for (int m = lo; m <= hi; ++m) {
        double sum = 0.0;
        for (int k = 0; k < n; ++k) {
            const int s = layers[k];
            const double ws = w(s, m);
            if (ws != 0.0) {
                const double d = row(cg, k, pairs)[m] + g(s, m) / 2.0;
                sum += ws * d * d;
            }
        }
        q1[m] = sum;
    }
    // The reference's slope can change in any month when the references change.
    if (anchor == Baseline::Anchor::Reference) {
        lo = 0;
        hi = pairs - 1;
    }
    for (int m = lo; m <= hi; ++m) {
        if (anchor == Baseline::Anchor::Middle) {
            rho[m] = row(cg, n, pairs)[m] / 2.0;
        } else if (anchor == Baseline::Anchor::Reference) {
            const int a = referenceSeries[m];
            const int b = referenceSeries[m + 1];
            const double xa = row(cf, positions[a], span + 1)[m] + f(a, m) / 2.0;
            const double xb = row(cf, positions[b], span + 1)[m + 1] + f(b, m + 1) / 2.0;
            rho[m] = xb - xa;
        }
        monthSum[m] = q1[m] - 2.0 * rho[m] * row(cwd, n, pairs)[m] + rho[m] * rho[m] * row(cw, n, pairs)[m];
    }
    total = 0.0;
    for (double sum : monthSum)
        total += sum;
}

void OrderObjective::changesOf(int from, QVector<double>* moves, QVector<double>* swaps) const {
    moves->fill(0.0, n);
    swaps->fill(0.0, n);
    if (pairs == 0 || !(weightSum > 0.0))
        return;
    const bool reference = anchor == Baseline::Anchor::Reference;
    const int columns = span + 1;
    const int x = layers[from];
    const double* gx = seriesG.constData() + qint64(x) * pairs;
    const double* wx = seriesW.constData() + qint64(x) * pairs;
    const double* gBelow = row(cg, from, pairs);
    const double* gAbove = row(cg, from + 1, pairs);
    const double* wBelow = row(cw, from, pairs);
    const double* wAbove = row(cw, from + 1, pairs);
    const double* dBelow = row(cwd, from, pairs);
    const double* dAbove = row(cwd, from + 1, pairs);
    int lo = 0;
    int hi = 0;
    monthsOf(x, &lo, &hi);
    // Under the reference, where the reference layer lies each month and x's values, looked up once.
    QVector<int> referenceAt;
    QVector<double> fx;
    if (reference) {
        referenceAt.resize(span + 1);
        fx.resize(span + 1);
        for (int t = 0; t <= span; ++t) {
            referenceAt[t] = positions[referenceSeries[t]];
            fx[t] = f(x, t);
        }
    }
    const double* q2All = row(cwd, n, pairs);
    const double* wAll = row(cw, n, pairs);
    // Without a reference the loops below are plain sums that the compiler can vectorise.
    const auto evaluate = [&](auto referenceTag) {
        constexpr bool withReference = decltype(referenceTag)::value;
        // The month's sum changes with the reference's slope too: the centre of the reference layers moves
        // with what passes them.
        const auto term = [&](int m, double dq1, double dq2, const auto& shiftOf) {
            if constexpr (withReference) {
                const double drho = shiftOf(m + 1) - shiftOf(m);
                if (drho != 0.0) {
                    const double r = rho[m] + drho;
                    return (q1[m] + dq1) - 2.0 * r * (q2All[m] + dq2) + r * r * wAll[m] - monthSum[m];
                }
            }
            return dq1 - 2.0 * rho[m] * dq2;
        };
        for (int to = 0; to < n; ++to) {
            if (to == from)
                continue;
            // Passed over: the layers between the two positions, x's own row excluded.
            const bool up = to > from;
            const double* gLow = up ? gAbove : row(cg, to, pairs);
            const double* gHigh = up ? row(cg, to + 1, pairs) : gBelow;
            const double* wLow = up ? wAbove : row(cw, to, pairs);
            const double* wHigh = up ? row(cw, to + 1, pairs) : wBelow;
            const double* dLow = up ? dAbove : row(cwd, to, pairs);
            const double* dHigh = up ? row(cwd, to + 1, pairs) : dBelow;
            const double sign = up ? -1.0 : 1.0;
            const int passedLow = up ? from + 1 : to;
            const int passedHigh = up ? to + 1 : from;
            const auto moveShift = [&](int t) {
                if (referenceSeries[t] == x)
                    return -sign * (row(cf, passedHigh, columns)[t] - row(cf, passedLow, columns)[t]);
                const int at = referenceAt[t];
                return at >= passedLow && at < passedHigh ? sign * fx[t] : 0.0;
            };
            double change = 0.0;
            for (int m = lo; m <= hi; ++m) {
                const double passedW = wHigh[m] - wLow[m];
                const double passedWd = dHigh[m] - dLow[m];
                const double shift = -sign * (gHigh[m] - gLow[m]);
                const double dx = gBelow[m] + gx[m] / 2.0;
                const double dq1 = 2.0 * sign * gx[m] * passedWd + gx[m] * gx[m] * passedW +
                                   wx[m] * shift * (2.0 * dx + shift);
                const double dq2 = sign * gx[m] * passedW + wx[m] * shift;
                change += term(m, dq1, dq2, moveShift);
            }
            (*moves)[to] = change / weightSum;

            // The swap, with a the lower and b the upper of the two positions.
            const int a = qMin(from, to);
            const int b = qMax(from, to);
            const int la = layers[a];
            const int lb = layers[b];
            const double* ga = seriesG.constData() + qint64(la) * pairs;
            const double* wa = seriesW.constData() + qint64(la) * pairs;
            const double* gb = seriesG.constData() + qint64(lb) * pairs;
            const double* wb = seriesW.constData() + qint64(lb) * pairs;
            const double* gA = row(cg, a, pairs);
            const double* gB = row(cg, b, pairs);
            const double* gA1 = row(cg, a + 1, pairs);
            const double* wA1 = row(cw, a + 1, pairs);
            const double* wB = row(cw, b, pairs);
            const double* dA1 = row(cwd, a + 1, pairs);
            const double* dB = row(cwd, b, pairs);
            const auto swapShift = [&](int t) {
                const int s = referenceSeries[t];
                if (s != la && s != lb) {
                    const int at = referenceAt[t];
                    return at > a && at < b ? f(lb, t) - f(la, t) : 0.0;
                }
                const double between = row(cf, b, columns)[t] - row(cf, a + 1, columns)[t];
                return s == la ? f(lb, t) + between : -(f(la, t) + between);
            };
            int yLo = 0;
            int yHi = 0;
            monthsOf(layers[to], &yLo, &yHi);
            const int first = qMin(lo, yLo);
            const int last = qMax(hi, yHi);
            change = 0.0;
            for (int m = first; m <= last; ++m) {
                const double passedW = wB[m] - wA1[m];
                const double passedWd = dB[m] - dA1[m];
                const double passedG = gB[m] - gA1[m];
                const double da = gA[m] + ga[m] / 2.0;
                const double db = gB[m] + gb[m] / 2.0;
                const double shiftA = gb[m] + passedG;
                const double shiftB = -ga[m] - passedG;
                const double delta = gb[m] - ga[m];
                const double dq1 = 2.0 * delta * passedWd + delta * delta * passedW +
                                   wa[m] * shiftA * (2.0 * da + shiftA) +
                                   wb[m] * shiftB * (2.0 * db + shiftB);
                const double dq2 = delta * passedW + wa[m] * shiftA + wb[m] * shiftB;
                change += term(m, dq1, dq2, swapShift);
            }
            (*swaps)[to] = change / weightSum;
        }
    };
    if (reference)
        evaluate(std::true_type());
    else
        evaluate(std::false_type());
}

void OrderObjective::move(int from, int to) {
    if (from == to)
        return;
    const int x = layers[from];
    layers.move(from, to);
    const int low = qMin(from, to);
    const int high = qMax(from, to);
    for (int k = low; k <= high; ++k)
        positions[layers[k]] = k;
    int lo = 0;
    int hi = 0;
    pairsOf(placements[x], pairs, &lo, &hi);
    rebuildRows(low, high, 0, pairs - 1);
    rebuildRows(high + 1, n - 1, lo, hi);
    if (anchor == Baseline::Anchor::Reference)
        findReferences();
    refreshMonths(lo, hi);
}

void OrderObjective::swap(int a, int b) {
    if (a == b)
        return;
    if (a > b)
        std::swap(a, b);
    std::swap(layers[a], layers[b]);
    positions[layers[a]] = a;
    positions[layers[b]] = b;
    int lo = pairs;
    int hi = -1;
    for (int s : {layers[a], layers[b]}) {
        int first = 0;
        int last = 0;
        pairsOf(placements[s], pairs, &first, &last);
        lo = qMin(lo, first);
        hi = qMax(hi, last);
    }
    rebuildRows(a, b, 0, pairs - 1);
    rebuildRows(b + 1, n - 1, lo, hi);
    if (anchor == Baseline::Anchor::Reference)
        findReferences();
    refreshMonths(lo, hi);
}

double OrderObjective::wiggleOf(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                                const QVector<int>& order) {
    QVector<double> running;
    if (anchor == Baseline::Anchor::Middle)
        running = Baseline::symmetric(order, placements, span);
    else if (anchor == Baseline::Anchor::Reference)
        running = Baseline::reference(order, placements, span);
    else
        running = Baseline::xAxis(order, placements, span);
    double weighted = 0.0;
    double weights = 0.0;
    for (int s : order) {
        const SeriesPlacement& p = placements[s];
        double bottom = 0.0;
        double top = 0.0;
        for (int k = 0; k < p.count; ++k) {
            double& level = running[p.first + k];
            const double nextBottom = level;
            const double nextTop = level + p.points[k].value;
            level = nextTop;
            if (k > 0) {
                const double weight = ((top - bottom) + (nextTop - nextBottom)) / 2.0;
                const double slope = (nextBottom + nextTop) / 2.0 - (bottom + top) / 2.0;
                weighted += weight * slope * slope;
                weights += weight;
            }
            bottom = nextBottom;
            top = nextTop;
        }
    }
    return weights > 0.0 ? weighted / weights : 0.0;
}
