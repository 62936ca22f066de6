#include "graph/order/LayerOrdering.h"

#include "graph/order/OrderSearch.h"

#include <algorithm>

namespace {

// How much the onset month and the two after it weigh in the balance: the month after weighs most.
constexpr double lookAheadWeights[3] = {0.5, 1.0, 0.25};

// The order as a linked list over series indexes, so that moving a layer to either end costs
// O(1); key gives the relative position of two layers. The running layers form a second list
// in the same order, so that the pivot search and the balance only visit layers present now.
class Sweep {
public:
    explicit Sweep(const QVector<SeriesPlacement>& placements)
        : p(placements)
        , size(int(placements.size()))
        , prev(size)
        , next(size)
        , key(size)
        , runPrev(size, -1)
        , runNext(size, -1)
        , cursor(size, -1) {
        for (int s = 0; s < size; ++s) {
            prev[s] = s - 1;
            next[s] = s + 1 < size ? s + 1 : -1;
            key[s] = s;
        }
        head = size > 0 ? 0 : -1;
        tail = size - 1;
        minKey = 0;
        maxKey = size - 1;
    }

    bool running(int s) const { return cursor[s] >= 0 && cursor[s] < p[s].count; }
    bool ended(int s) const { return cursor[s] >= p[s].count; }

    void moveToTop(int s) {
        unlink(s);
        key[s] = ++maxKey;
        prev[s] = tail;
        next[s] = -1;
        if (tail >= 0)
            next[tail] = s;
        tail = s;
        if (head < 0)
            head = s;
    }

    void moveToBottom(int s) {
        unlink(s);
        key[s] = --minKey;
        next[s] = head;
        prev[s] = -1;
        if (head >= 0)
            prev[head] = s;
        head = s;
        if (tail < 0)
            tail = s;
    }

    void start(int s) {
        cursor[s] = 0;
        if (runHead < 0) {
            runHead = runTail = s;
            return;
        }
        if (key[s] < key[runHead]) {
            runNext[s] = runHead;
            runPrev[runHead] = s;
            runHead = s;
            return;
        }
        int after = runTail;
        while (key[after] > key[s])
            after = runPrev[after];
        runPrev[s] = after;
        runNext[s] = runNext[after];
        if (runNext[after] >= 0)
            runPrev[runNext[after]] = s;
        else
            runTail = s;
        runNext[after] = s;
    }

    void advance() {
        for (int s = runHead; s >= 0;) {
            const int following = runNext[s];
            if (++cursor[s] >= p[s].count)
                stopRunning(s);
            s = following;
        }
    }

    // The first running layer above s, or -1.
    int runningAbove(int s) const {
        for (int r = runHead; r >= 0; r = runNext[r]) {
            if (key[r] > key[s])
                return r;
        }
        return -1;
    }

    // The weighted look-ahead balance of the running layers around pivot: over the onset month and the
    // two after it (weights 0.5, 1, 0.25), half of all values less those above the middle of the
    // reference layer (the pivot, or the first layer above it that runs that month). Positive when the
    // stack is heavier below, so a new layer should go on top. One walk over the running layers: a layer
    // that has a value a months ahead has every nearer one, so each month's reference is found in the
    // walk before any layer above it.
    double balanceAround(int pivot) const {
        const auto& weights = lookAheadWeights;
        double all[3] = {0.0, 0.0, 0.0};
        double above[3] = {0.0, 0.0, 0.0};
        double reference[3] = {0.0, 0.0, 0.0};
        int found = 0; // reference layers found so far, one per look-ahead month
        bool reached = false;
        const auto visit = [&](int s) {
            const int c = cursor[s];
            const int n = c >= 0 ? std::min(p[s].count - c, 3) : 0;
            const DataPoint* values = n > 0 ? p[s].points + c : nullptr;
            for (int a = 0; a < n; ++a) {
                all[a] += values[a].value;
                if (a < found)
                    above[a] += values[a].value;
            }
            if (reached) {
                while (found < n) {
                    reference[found] = values[found].value;
                    ++found;
                }
            }
        };
        const bool pivotRunning = running(pivot);
        for (int r = runHead; r >= 0; r = runNext[r]) {
            if (!reached && (r == pivot || (!pivotRunning && key[r] > key[pivot])))
                reached = true;
            visit(r);
        }
        double e = 0.0;
        for (int a = 0; a < 3; ++a) {
            if (a < found)
                above[a] += 0.5 * reference[a];
            e += weights[a] * (0.5 * all[a] - above[a]);
        }
        return e;
    }

    QVector<int> result() const {
        QVector<int> order;
        order.reserve(size);
        for (int s = head; s >= 0; s = next[s])
            order.append(s);
        return order;
    }

private:
    void unlink(int s) {
        if (prev[s] >= 0)
            next[prev[s]] = next[s];
        else
            head = next[s];
        if (next[s] >= 0)
            prev[next[s]] = prev[s];
        else
            tail = prev[s];
    }

    void stopRunning(int s) {
        if (runPrev[s] >= 0)
            runNext[runPrev[s]] = runNext[s];
        else
            runHead = runNext[s];
        if (runNext[s] >= 0)
            runPrev[runNext[s]] = runPrev[s];
        else
            runTail = runPrev[s];
        runPrev[s] = runNext[s] = -1;
    }

    const QVector<SeriesPlacement>& p;
    int size;
    QVector<int> prev, next, key;
    int head = -1, tail = -1, minKey = 0, maxKey = -1;
    QVector<int> runPrev, runNext;
    int runHead = -1, runTail = -1;

public:
    QVector<int> cursor;
};

// Places every starting layer by place(sweep, series, pivot), which may move it to either end.
template <typename Place>
QVector<int> sweepOrder(const QVector<SeriesPlacement>& placements, int span, Place place) {
    if (placements.isEmpty())
        return {};
    // Onsets by month, each month's in data order.
    QVector<int> onsetCount(span + 2, 0);
    for (const SeriesPlacement& p : placements) {
        if (p.count > 0)
            ++onsetCount[p.first + 1];
    }
    for (int m = 0; m <= span; ++m)
        onsetCount[m + 1] += onsetCount[m];
    QVector<int> onsets(onsetCount[span + 1]);
    QVector<int> fill = onsetCount;
    for (int s = 0; s < placements.size(); ++s) {
        if (placements[s].count > 0)
            onsets[fill[placements[s].first]++] = s;
    }

    Sweep sweep(placements);
    int pivot = 0;
    for (int m = 0; m <= span; ++m) {
        if (sweep.ended(pivot)) {
            const int above = sweep.runningAbove(pivot);
            if (above >= 0)
                pivot = above;
        }
        for (int k = onsetCount[m]; k < onsetCount[m + 1]; ++k) {
            const int s = onsets[k];
            if (s != pivot)
                place(sweep, s, pivot);
            sweep.start(s);
        }
        sweep.advance();
    }
    return sweep.result();
}

} // namespace

const QVector<LayerOrdering::Entry>& LayerOrdering::table() {
    static const QVector<Entry> entries = {
        {QStringLiteral("onset-time"), [](const Input& in) { return onsetTime(in.placements, in.span); }},
        {QStringLiteral("inside-out"), [](const Input& in) { return insideOut(in.placements, in.span); }},
        {QStringLiteral("weighted"), [](const Input& in) { return weighted(in.placements, in.span); }},
        {QStringLiteral("optimized"), optimized, true},
    };
    return entries;
}

const LayerOrdering::Entry& LayerOrdering::of(int code) {
    return table()[code < 0 || code >= table().size() ? 0 : code];
}

QVector<int> LayerOrdering::onsetTime(const QVector<SeriesPlacement>& placements, int span) {
    return sweepOrder(placements, span, [](Sweep&, int, int) {});
}

QVector<int> LayerOrdering::insideOut(const QVector<SeriesPlacement>& placements, int span) {
    bool toTop = true;
    return sweepOrder(placements, span, [&toTop](Sweep& sweep, int s, int) {
        if (toTop)
            sweep.moveToTop(s);
        else
            sweep.moveToBottom(s);
        toTop = !toTop;
    });
}

QVector<int> LayerOrdering::weighted(const QVector<SeriesPlacement>& placements, int span) {
    return sweepOrder(placements, span, [](Sweep& sweep, int s, int pivot) {
        if (sweep.balanceAround(pivot) >= 0.0)
            sweep.moveToTop(s);
        else
            sweep.moveToBottom(s);
    });
}

QVector<int> LayerOrdering::optimized(const Input& input) {
    return OrderSearch::run(input).order;
}
