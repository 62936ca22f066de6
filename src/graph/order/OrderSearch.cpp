#include "graph/order/OrderSearch.h"

#include "graph/order/OrderObjective.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The time budget: expired() once it is spent; tells the budget's listener once when it runs long.
class Deadline {
public:
    explicit Deadline(const LayerOrdering::Budget& budget)
        : budget(budget) {
        clock.start();
    }
    bool expired() {
        const double elapsed = double(clock.nsecsElapsed()) / 1e9;
        if (!told && elapsed >= LayerOrdering::Budget::slowAfter && budget.slow) {
            told = true;
            budget.slow();
        }
        if (elapsed >= budget.seconds)
            spent = true;
        return spent;
    }
    bool wasSpent() const { return spent; }
    // Whether this share of the budget has passed.
    bool past(double share) {
        return expired() || double(clock.nsecsElapsed()) / 1e9 >= share * budget.seconds;
    }

private:
    const LayerOrdering::Budget& budget;
    QElapsedTimer clock;
    bool told = false;
    bool spent = false;
};

// The share of the time budget the greedy placement may take.
constexpr double greedyShare = 0.5;
// Improvements smaller than this share of the wiggle are rounding, not progress.
constexpr double relativeTolerance = 1e-12;

// The greedy step's running sums of the stack placed so far, per pair of months.
struct Partial {
    explicit Partial(int pairs)
        : q1(pairs, 0.0)
        , q2(pairs, 0.0)
        , w(pairs, 0.0)
        , g(pairs, 0.0) {}
    QVector<double> q1, q2, w, g;
};

} // namespace

QVector<int> OrderSearch::greedy(const QVector<SeriesPlacement>& placements, int span,
                                 Baseline::Anchor anchor, const std::function<bool()>& stop) {
    const int pairs = qMax(0, span);
    const bool middle = anchor != Baseline::Anchor::Bottom;
    Partial stack(pairs);
    QVector<int> remaining;
    QVector<int> empty;
    OrderObjective::splitByValue(placements, &remaining, &empty);
    QVector<int> bottom; // from the middle down
    QVector<int> top;    // from the middle up
    while (!remaining.isEmpty()) {
        if (stop && stop())
            return {};
        double best = std::numeric_limits<double>::infinity();
        int bestAt = 0;
        bool bestOnTop = false;
        for (int i = 0; i < remaining.size(); ++i) {
            const SeriesPlacement& p = placements[remaining[i]];
            int lo = 0;
            int hi = 0;
            OrderObjective::pairsOf(p, pairs, &lo, &hi);
            double below = 0.0;
            double above = 0.0;
            for (int m = lo; m <= hi; ++m) {
                const auto [gx, wx] = OrderObjective::pairChange(p, m);
                const double q1 = stack.q1[m];
                const double q2 = stack.q2[m];
                const double w = stack.w[m];
                const double rho = middle ? stack.g[m] / 2.0 : 0.0;
                const double newRho = middle ? (stack.g[m] + gx) / 2.0 : 0.0;
                const double before = q1 - 2.0 * rho * q2 + rho * rho * w;
                // Underneath, every placed layer's slope grows by gx.
                const double dBottom = gx / 2.0;
                const double q1Bottom = q1 + 2.0 * gx * q2 + gx * gx * w + wx * dBottom * dBottom;
                const double q2Bottom = q2 + gx * w + wx * dBottom;
                below += q1Bottom - 2.0 * newRho * q2Bottom + newRho * newRho * (w + wx) - before;
                // On top, only its own slope counts.
                const double dTop = stack.g[m] + gx / 2.0;
                above += (q1 + wx * dTop * dTop) - 2.0 * newRho * (q2 + wx * dTop) +
                         newRho * newRho * (w + wx) - before;
            }
            if (below < best) {
                best = below;
                bestAt = i;
                bestOnTop = false;
            }
            if (above < best) {
                best = above;
                bestAt = i;
                bestOnTop = true;
            }
        }
        const int x = remaining[bestAt];
        remaining.remove(bestAt);
        int lo = 0;
        int hi = 0;
        OrderObjective::pairsOf(placements[x], pairs, &lo, &hi);
        for (int m = lo; m <= hi; ++m) {
            const auto [gx, wx] = OrderObjective::pairChange(placements[x], m);
            if (bestOnTop) {
                const double d = stack.g[m] + gx / 2.0;
                stack.q1[m] += wx * d * d;
                stack.q2[m] += wx * d;
            } else {
                const double d = gx / 2.0;
                stack.q1[m] += 2.0 * gx * stack.q2[m] + gx * gx * stack.w[m] + wx * d * d;
                stack.q2[m] += gx * stack.w[m] + wx * d;
            }
            stack.w[m] += wx;
            stack.g[m] += gx;
        }
        (bestOnTop ? top : bottom).append(x);
    }
    QVector<int> order;
    order.reserve(placements.size());
    for (int i = int(bottom.size()) - 1; i >= 0; --i)
        order.append(bottom[i]);
    order += top;
    // Layers without a value change nothing wherever they go.
    order += empty;
    return order;
}

QVector<int> OrderSearch::exact(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                                const std::function<bool()>& stop) {
    const int pairs = qMax(0, span);
    QVector<int> layers; // with a value; the others go on top, where they change nothing
    QVector<int> empty;
    OrderObjective::splitByValue(placements, &layers, &empty);
    const int n = int(layers.size());
    if (n > exactLayers || anchor == Baseline::Anchor::Reference)
        return {};
    QVector<double> g(qint64(n) * pairs, 0.0);
    QVector<double> w(qint64(n) * pairs, 0.0);
    QVector<double> middle(pairs, 0.0); // the baseline's negative slope
    for (int i = 0; i < n; ++i) {
        int lo = 0;
        int hi = 0;
        OrderObjective::pairsOf(placements[layers[i]], pairs, &lo, &hi);
        for (int m = lo; m <= hi; ++m) {
            const OrderObjective::PairChange change = OrderObjective::pairChange(placements[layers[i]], m);
            g[qint64(i) * pairs + m] = change.g;
            w[qint64(i) * pairs + m] = change.w;
            if (anchor == Baseline::Anchor::Middle)
                middle[m] += change.g / 2.0;
        }
    }
    // cost[S]: the least sum of the layers in S stacked at the bottom; top[S]: the uppermost of them.
    const int sets = 1 << n;
    QVector<double> cost(sets, std::numeric_limits<double>::infinity());
    QVector<qint8> top(sets, -1);
    cost[0] = 0.0;
    QVector<double> below(pairs);
    for (int set = 0; set < sets; ++set) {
        if (stop && (set & 63) == 0 && stop())
            return {};
        std::fill(below.begin(), below.end(), 0.0);
        for (int i = 0; i < n; ++i)
            if (set & (1 << i))
                for (int m = 0; m < pairs; ++m)
                    below[m] += g[qint64(i) * pairs + m];
        for (int i = 0; i < n; ++i) {
            if (set & (1 << i))
                continue;
            double sum = cost[set];
            const double* gi = g.constData() + qint64(i) * pairs;
            const double* wi = w.constData() + qint64(i) * pairs;
            for (int m = 0; m < pairs; ++m) {
                const double slope = below[m] + gi[m] / 2.0 - middle[m];
                sum += wi[m] * slope * slope;
            }
            // Ties keep the first layer found: the same order every time.
            const int with = set | (1 << i);
            if (sum < cost[with]) {
                cost[with] = sum;
                top[with] = qint8(i);
            }
        }
    }
    QVector<int> order;
    for (int set = sets - 1; set != 0; set &= ~(1 << top[set]))
        order.prepend(layers[top[set]]);
    return order + empty;
}

OrderSearch::Result OrderSearch::run(const LayerOrdering::Input& input) {
    const QVector<SeriesPlacement>& placements = input.placements;
    const int span = input.span;
    const Baseline::Anchor anchor = Baseline::of(input.baseline).anchor;
    Deadline deadline(input.budget);
    const auto wiggleOf = [&](const QVector<int>& order) {
        return OrderObjective::wiggleOf(placements, span, anchor, order);
    };

    Result result;
    // The specified orderings compete as starts, so that the result is never worse than any of them.
    const QVector<int> specified[] = {LayerOrdering::onsetTime(placements, span),
                                      LayerOrdering::insideOut(placements, span),
                                      LayerOrdering::weighted(placements, span)};
    result.order = specified[0];
    result.specified = wiggleOf(specified[0]);
    for (int i = 1; i < 3; ++i) {
        const double wiggle = wiggleOf(specified[i]);
        if (wiggle < result.specified) {
            result.specified = wiggle;
            result.order = specified[i];
        }
    }
    result.wiggle = result.start = result.specified;
    // Values too large to square leave nothing to compare.
    if (!std::isfinite(result.specified) || placements.size() < 2) {
        result.order = specified[0];
        return result;
    }
    // Under the reference a few layers are simply tried in every order.
    if (anchor == Baseline::Anchor::Reference) {
        QVector<int> layers;
        QVector<int> empty;
        OrderObjective::splitByValue(placements, &layers, &empty);
        if (layers.size() <= exhaustiveLayers) {
            do {
                if (deadline.expired()) {
                    result.capped = true;
                    return result;
                }
                const double wiggle = wiggleOf(layers + empty);
                if (wiggle < result.wiggle) {
                    result.wiggle = result.start = wiggle;
                    result.order = layers + empty;
                }
            } while (std::next_permutation(layers.begin(), layers.end()));
            result.exact = true;
            return result;
        }
    }
    // A few layers on a fixed bottom or middle: the optimum itself. Under the reference it is a start.
    const bool small = int(placements.size()) <= 3 * exactLayers;
    const QVector<int> exact =
        small ? OrderSearch::exact(placements, span,
                                   anchor == Baseline::Anchor::Reference ? Baseline::Anchor::Middle : anchor,
                                   [&] { return deadline.past(greedyShare); })
              : QVector<int>();
    if (!exact.isEmpty()) {
        const double wiggle = wiggleOf(exact);
        if (wiggle < result.wiggle) {
            result.wiggle = result.start = wiggle;
            result.order = exact;
        }
        if (anchor != Baseline::Anchor::Reference) {
            result.exact = true;
            return result;
        }
    }
    // A greedy placement that would take most of the budget leaves the search none: past half of it, the
    // search starts from the best specified ordering instead.
    const QVector<int> greedy =
        OrderSearch::greedy(placements, span, anchor, [&] { return deadline.past(greedyShare); });
    if (!greedy.isEmpty()) {
        const double wiggle = wiggleOf(greedy);
        if (wiggle < result.wiggle) {
            result.wiggle = result.start = wiggle;
            result.order = greedy;
        }
    }
    if (deadline.expired() ||
        OrderObjective::tableCells(int(placements.size()), span) > OrderObjective::largestTable) {
        result.capped = true;
        return result;
    }

    OrderObjective objective(placements, span, anchor, result.order);
    QVector<double> moves;
    QVector<double> swaps;
    const int n = int(placements.size());
    for (bool improved = true; improved;) {
        improved = false;
        for (int x = 0; x < n; ++x) {
            if (deadline.expired())
                break;
            if (placements[x].count == 0)
                continue;
            const int p = int(objective.order().indexOf(x));
            const double threshold = -relativeTolerance * objective.wiggle();
            double best = threshold;
            int bestTo = -1;
            bool bestIsSwap = false;
            objective.changesOf(p, &moves, &swaps);
            for (int q = 0; q < n; ++q) {
                if (q == p)
                    continue;
                const double move = moves[q];
                if (move < best) {
                    best = move;
                    bestTo = q;
                    bestIsSwap = false;
                }
                // Next to each other, a swap is a move.
                if (q == p - 1 || q == p + 1)
                    continue;
                const double swap = swaps[q];
                if (swap < best) {
                    best = swap;
                    bestTo = q;
                    bestIsSwap = true;
                }
            }
            if (bestTo < 0)
                continue;
            const double before = objective.wiggle();
            if (bestIsSwap)
                objective.swap(p, bestTo);
            else
                objective.move(p, bestTo);
            // Under the reference anchor a move can hand the reference to another layer, which the
            // estimate did not see: only what truly improves is kept.
            if (!(objective.wiggle() < before + threshold)) {
                if (bestIsSwap)
                    objective.swap(p, bestTo);
                else
                    objective.move(bestTo, p);
                continue;
            }
            improved = true;
        }
        if (deadline.wasSpent())
            break;
    }
    result.capped = deadline.wasSpent();
    const double searched = wiggleOf(objective.order());
    if (searched < result.wiggle) {
        result.wiggle = searched;
        result.order = objective.order();
    }
    return result;
}
