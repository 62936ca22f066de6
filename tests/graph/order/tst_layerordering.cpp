#include "support/GraphFixtures.h"

#include "graph/GraphSettings.h"
#include "graph/order/LayerOrdering.h"

#include <QRandomGenerator>
#include <QTest>

using GraphFixtures::at;

namespace {
enum Code { OnsetTime, InsideOut, Weighted };

QVector<int> orderOf(int code, const QVector<DataSeries>& data) {
    return LayerOrdering::of(code).order({GraphFixtures::place(data), GraphFixtures::span(data), 0, {}});
}

// The sweep done the slow, literal way: a vector of layers, moved by erasing and inserting,
// found by scanning. The fast sweep must give the same order.
struct Entry {
    int series;
    int cursor;
};

QVector<int> literalOrder(int code, const QVector<DataSeries>& data) {
    const QVector<SeriesPlacement> p = GraphFixtures::place(data);
    const int span = GraphFixtures::span(data);
    QVector<Entry> layers;
    for (int s = 0; s < data.size(); ++s)
        layers.append({s, -1});
    const auto count = [&](const Entry& e) { return p[e.series].count; };
    const auto qualifies = [&](const Entry& e, int a) { return e.cursor >= 0 && e.cursor + a < count(e); };
    const auto balance = [&](int o) {
        const double weights[3] = {0.5, 1.0, 0.25};
        double e = 0.0;
        int i = o;
        for (int a = 0; a < 3; ++a) {
            int l = i;
            if (!(layers[i].cursor + a < count(layers[i]))) {
                for (int j = i + 1; j < layers.size(); ++j) {
                    if (qualifies(layers[j], a)) {
                        l = j;
                        break;
                    }
                }
            }
            double all = 0.0;
            double above = 0.0;
            for (int k = 0; k < layers.size(); ++k) {
                if (!qualifies(layers[k], a))
                    continue;
                const double x = p[layers[k].series].points[layers[k].cursor + a].value;
                all += x;
                if (k > l)
                    above += x;
            }
            if (qualifies(layers[l], a))
                above += 0.5 * p[layers[l].series].points[layers[l].cursor + a].value;
            e += weights[a] * (0.5 * all - above);
            i = l;
        }
        return e;
    };
    int o = 0;
    bool toggle = true;
    for (int m = 0; m <= span; ++m) {
        if (layers[o].cursor >= count(layers[o])) {
            for (int k = o + 1; k < layers.size(); ++k) {
                if (layers[k].cursor >= 0 && layers[k].cursor < count(layers[k])) {
                    o = k;
                    break;
                }
            }
        }
        for (int s = 0; s < data.size(); ++s) {
            if (p[s].count == 0 || p[s].first != m)
                continue;
            int v = 0;
            while (layers[v].series != s)
                ++v;
            bool toTop = false;
            const bool moves = v != o && code != OnsetTime;
            if (moves && code == InsideOut) {
                toTop = toggle;
                toggle = !toggle;
            } else if (moves) {
                toTop = balance(o) >= 0.0;
            }
            Entry entry = layers[v];
            entry.cursor = 0;
            if (!moves) {
                layers[v] = entry;
            } else if (toTop) {
                layers.remove(v);
                layers.append(entry);
                if (o > v)
                    --o;
            } else {
                layers.remove(v);
                layers.prepend(entry);
                if (o < v)
                    ++o;
            }
        }
        for (Entry& e : layers) {
            if (e.cursor >= 0 && e.cursor < count(e))
                ++e.cursor;
        }
    }
    QVector<int> order;
    for (const Entry& e : layers)
        order.append(e.series);
    return order;
}
} // namespace

class LayerOrderingTest : public QObject {
    Q_OBJECT
private slots:
    void codes() {
        // Each code gives its own ordering's result; unknown codes act as 0.
        const QVector<DataSeries> data = GraphFixtures::generated(12, 30, 5);
        const QVector<SeriesPlacement> p = GraphFixtures::place(data);
        const int span = GraphFixtures::span(data);
        QCOMPARE(orderOf(0, data), LayerOrdering::onsetTime(p, span));
        QCOMPARE(orderOf(1, data), LayerOrdering::insideOut(p, span));
        QCOMPARE(orderOf(2, data), LayerOrdering::weighted(p, span));
        QCOMPARE(LayerOrdering::of(-1).name, QStringLiteral("onset-time"));
        QCOMPARE(LayerOrdering::of(4).name, QStringLiteral("onset-time"));
        QCOMPARE(GraphSettings::sortNames(),
                 QStringList({QStringLiteral("onset-time"), QStringLiteral("inside-out"),
                              QStringLiteral("weighted"), QStringLiteral("optimized")}));
    }
    void onsetTimeKeepsDataOrder() {
        const QVector<DataSeries> data = {at(0, {1, 1}), at(0, {5}), at(1, {2, 2, 2}), at(3, {1})};
        QCOMPARE(orderOf(OnsetTime, data), QVector<int>({0, 1, 2, 3}));
        QVERIFY(LayerOrdering::weighted({}, 0).isEmpty());
    }
    void insideOutAlternatesTopAndBottom() {
        // S0, S1 start in month 0, S2 in month 1, S3 and S4 in month 2.
        const QVector<DataSeries> data = {at(0, {1, 1, 1}), at(0, {1, 1, 1}), at(1, {1, 1}), at(2, {1}),
                                          at(2, {1})};
        QCOMPARE(orderOf(InsideOut, data), QVector<int>({4, 2, 0, 1, 3}));
    }
    void insideOutIgnoresTheEndOfLayers() {
        // S0 has ended before the others start; the toggle still decides alone.
        const QVector<DataSeries> data = {at(0, {1}), at(2, {1}), at(2, {1}), at(3, {1})};
        QCOMPARE(orderOf(InsideOut, data), QVector<int>({2, 0, 1, 3}));
    }
    // A new layer arrives in month 1 while the stack is, from the bottom, A, the pivot P = 2 and B in
    // all three months ahead: with A = 4, B = 1 each month weighs 0.5 * 7 - (1 + 0.5 * 2) = 1.5, and
    // E = 0.5 * 1.5 + 1.5 + 0.25 * 1.5 >= 0 sends it to the top; with A = 1, B = 4 to the bottom. (In
    // month 0, B ties around the lone pivot and goes on top, A then finds the stack heavier above.)
    void weightedSendsANewLayerToTheLighterSide_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<QVector<int>>("order");
        QTest::newRow("heavier below: top") << 4.0 << 1.0 << QVector<int>{2, 0, 1, 3};
        QTest::newRow("heavier above: bottom") << 1.0 << 4.0 << QVector<int>{3, 2, 0, 1};
    }
    void weightedSendsANewLayerToTheLighterSide() {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(QVector<int>, order);
        const QVector<DataSeries> data = {at(0, {2, 2, 2, 2}), at(0, {b, b, b, b}), at(0, {a, a, a, a}),
                                          at(1, {1, 1, 1})};
        QCOMPARE(orderOf(Weighted, data), order);
    }
    void weightedPlacesLayersOfOneMonthInTurn() {
        // S0 (1) is the pivot; S1 (10) ties at 0 and goes on top. In month 1, S2 finds the stack
        // heavier above: bottom. S3 then sees S2 below: with 4 still lighter below (bottom), with 20 top.
        const QVector<DataSeries> light = {at(0, {1, 1, 1, 1}), at(0, {10, 10, 10, 10}), at(1, {1, 1, 1}),
                                           at(1, {4, 4, 4})};
        QCOMPARE(orderOf(Weighted, light), QVector<int>({3, 2, 0, 1}));
        const QVector<DataSeries> heavy = {at(0, {1, 1, 1, 1}), at(0, {10, 10, 10, 10}), at(1, {20, 20, 20}),
                                           at(1, {4, 4, 4})};
        // S2 (20) goes to the bottom, then S3 sees 20 + 1 below and 10 above the pivot: top.
        QCOMPARE(orderOf(Weighted, heavy), QVector<int>({2, 0, 1, 3}));
    }
    void weightedAfterThePivotEnded() {
        // S0 ends after month 0; from month 1 the first running layer above it, S1, is the pivot.
        const QVector<DataSeries> data = {at(0, {1}), at(0, {2, 2, 2, 2, 2}), at(1, {5, 5, 5, 5}),
                                          at(2, {1, 1, 1})};
        // Month 0: S1 ties (top). Month 1: S0 has ended, S1 is the reference; 0.5 * 2 - 1 = 0 -> top.
        // Month 2: stack S1 (2), S2 (5) around S1: 0.5 * 7 - (5 + 1) < 0 -> bottom.
        QCOMPARE(orderOf(Weighted, data), QVector<int>({3, 0, 1, 2}));
    }
    void weightedMovesTheReferenceUpWithinItsLookAhead() {
        // Month 0 stacks A = S2 (2), the pivot P = S0 (2, ending after month 1), B = S1 (4). S3 arrives in
        // month 1: then 0.5 * 8 - (4 + 1) = -1; in months 2 and 3 P has ended and B is the reference,
        // 0.5 * 6 - 0.5 * 4 = 1 each, so E = 0.5 * -1 + 1 + 0.25 * 1 > 0: top. Had P stayed the reference,
        // B would count whole (-1 each month) and send S3 to the bottom.
        const QVector<DataSeries> data = {at(0, {2, 2}), at(0, {4, 4, 4, 4}), at(0, {2, 2, 2, 2}),
                                          at(1, {1, 1, 1})};
        QCOMPARE(orderOf(Weighted, data), QVector<int>({2, 0, 1, 3}));
    }
    void fastSweepMatchesTheLiteralOne() {
        QRandomGenerator random(20261208);
        for (int round = 0; round < 300; ++round) {
            QVector<DataSeries> data;
            const int layers = 1 + int(random.bounded(25));
            int onset = 0;
            for (int s = 0; s < layers; ++s) {
                if (s > 0 && random.bounded(3) == 0)
                    onset += int(random.bounded(4));
                DataSeries series = at(onset, {});
                const int length = 1 + int(random.bounded(8));
                for (int k = 0; k < length; ++k) {
                    // Whole numbers give exact ties; fractions show any change in summation order.
                    const int kindOfValue = int(random.bounded(4));
                    const double value = kindOfValue == 0   ? 0.0
                                         : kindOfValue == 1 ? random.generateDouble() * 1000.0 / 7.0
                                                            : double(random.bounded(10));
                    series.points.append(DataPoint{2000 + (onset + k) / 12, 1 + (onset + k) % 12, value});
                }
                data.append(series);
            }
            for (int code : {OnsetTime, InsideOut, Weighted})
                QCOMPARE(orderOf(code, data), literalOrder(code, data));
        }
    }
};

QTEST_GUILESS_MAIN(LayerOrderingTest)
#include "tst_layerordering.moc"
