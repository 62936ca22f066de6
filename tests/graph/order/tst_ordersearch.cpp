#include "support/GraphFixtures.h"

#include "graph/GraphLayout.h"
#include "graph/LayoutMetrics.h"
#include "graph/order/OrderObjective.h"
#include "graph/order/OrderSearch.h"

#include <QTest>

#include <algorithm>

using GraphFixtures::at;

namespace {

// The weighted wiggle that --metrics reports for the data stacked in this order on this baseline.
double metricsWiggle(const QVector<DataSeries>& series, int baseline, const QVector<int>& order) {
    DataSet data;
    data.series = series;
    GraphSettings settings;
    settings.baseline = baseline;
    settings.labels = GraphSettings::LabelMode::None;
    const GraphLayout layout =
        layOut(data, settings, GraphLayout::Carry{MonthRange::ofSeries(series), {}, order, {}});
    return LayoutMetrics::of(layout).weightedWiggle;
}

// The values as the baseline stacks them: shares under "percent".
struct Stacked {
    Stacked(const QVector<DataSeries>& series, int baseline)
        : span(GraphFixtures::span(series))
        , placements(GraphFixtures::place(series)) {
        if (Baseline::of(baseline).shares)
            placements = Baseline::shares(placements, span, &shares);
    }
    int span;
    QVector<DataPoint> shares;
    QVector<SeriesPlacement> placements;
};

// Which series hold the reference in each month: a move that changes them is not estimated exactly.
QVector<int> referenceSeries(const Stacked& s, const QVector<int>& order) {
    QVector<int> series;
    for (int at : Baseline::referencePositions(order, s.placements, s.span))
        series.append(order[at]);
    return series;
}

// Staggered layers that start and end inside the months, one of a single month, one that rises from 0,
// and the reference (series 0) ending before the others.
QVector<DataSeries> handSet() {
    return {at(0, {2, 5, 1}), at(0, {1, 1, 4, 6, 2}), at(1, {3, 0, 2, 2, 7}), at(2, {6}), at(3, {0, 4, 1})};
}

} // namespace

class OrderSearchTest : public QObject {
    Q_OBJECT
private slots:
    void handComputedMove() {
        // A = 1, 3 below B = 2, 2 on the x-axis: A's centre climbs 1, B's 2, each weighing (1 + 3) / 2 and
        // (2 + 2) / 2. With A on top, B lies flat and A's centre still climbs 1.
        const QVector<DataSeries> data = {at(0, {1, 3}), at(0, {2, 2})};
        const OrderObjective objective(GraphFixtures::place(data), 1, Baseline::Anchor::Bottom, {0, 1});
        QCOMPARE(objective.wiggle(), (2 * 1.0 + 2 * 4.0) / (2 + 2));
        QVector<double> moves;
        QVector<double> swaps;
        objective.changesOf(0, &moves, &swaps);
        QCOMPARE(moves[1], (2 * 1.0) / (2 + 2) - (2 * 1.0 + 2 * 4.0) / (2 + 2));
        QCOMPARE(swaps[1], moves[1]);
        // Centred, the pair's middle climbs 1 (half of +2): A's centre moves 1 - 1, B's 2 - 1.
        const OrderObjective centred(GraphFixtures::place(data), 1, Baseline::Anchor::Middle, {0, 1});
        QCOMPARE(centred.wiggle(), (2 * 0.0 + 2 * 1.0) / (2 + 2));
    }

    // Every move and swap of every layer against the change of --metrics' own definition.
    void changesAreTheMetricsChanges_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<QVector<DataSeries>>("series");
        QTest::addColumn<QVector<int>>("order");
        for (int baseline = 0; baseline < Baseline::table().size(); ++baseline) {
            const QByteArray name = Baseline::table()[baseline].name.toLatin1();
            QTest::newRow(name + ", by hand") << baseline << handSet() << QVector<int>{3, 0, 4, 1, 2};
            QTest::newRow(name + ", generated")
                << baseline << GraphFixtures::generated(7, 14, 11) << QVector<int>{6, 2, 0, 5, 1, 3, 4};
        }
    }
    void changesAreTheMetricsChanges() {
        QFETCH(int, baseline);
        QFETCH(QVector<DataSeries>, series);
        QFETCH(QVector<int>, order);
        const Stacked stacked(series, baseline);
        const Baseline::Anchor anchor = Baseline::of(baseline).anchor;
        OrderObjective objective(stacked.placements, stacked.span, anchor, order);
        const double before = metricsWiggle(series, baseline, order);
        QVERIFY(qAbs(objective.wiggle() - before) <= 1e-9 * before);
        const double scale = 1e-9 * (1.0 + before);
        int exact = 0;
        QVector<double> moves;
        QVector<double> swaps;
        for (int from = 0; from < order.size(); ++from) {
            objective.changesOf(from, &moves, &swaps);
            for (int to = 0; to < order.size(); ++to) {
                for (bool swap : {false, true}) {
                    QVector<int> changed = order;
                    if (swap)
                        std::swap(changed[from], changed[to]);
                    else
                        changed.move(from, to);
                    // The estimate holds while the same layers stay the reference.
                    if (anchor == Baseline::Anchor::Reference &&
                        referenceSeries(stacked, changed) != referenceSeries(stacked, order))
                        continue;
                    const double estimate = (swap ? swaps : moves)[to];
                    const double after = metricsWiggle(series, baseline, changed);
                    QVERIFY2(qAbs(estimate - (after - before)) <= scale,
                             qPrintable(QStringLiteral("%1 %2 -> %3: %4, not %5")
                                            .arg(QLatin1String(swap ? "swap" : "move"))
                                            .arg(from)
                                            .arg(to)
                                            .arg(estimate)
                                            .arg(after - before)));
                    // Applied, the objective is exact whatever changed.
                    OrderObjective applied = objective;
                    swap ? applied.swap(from, to) : applied.move(from, to);
                    QCOMPARE(applied.order(), changed);
                    QVERIFY(qAbs(applied.wiggle() - after) <= scale);
                    ++exact;
                }
            }
        }
        QVERIFY(exact > order.size());
    }

    // Never worse than where it started nor than any specified ordering; the same order every time.
    void searchImproves_data() {
        QTest::addColumn<int>("baseline");
        QTest::addColumn<QVector<DataSeries>>("series");
        for (int baseline = 0; baseline < Baseline::table().size(); ++baseline) {
            const QByteArray name = Baseline::table()[baseline].name.toLatin1();
            QTest::newRow(name + ", 5 by hand") << baseline << handSet();
            QTest::newRow(name + ", 40 x 60") << baseline << GraphFixtures::generated(40, 60, 3);
            QTest::newRow(name + ", one series") << baseline << QVector<DataSeries>{at(0, {1, 2})};
            QTest::newRow(name + ", one month") << baseline << QVector<DataSeries>{at(0, {1}), at(0, {2})};
        }
    }
    void searchImproves() {
        QFETCH(int, baseline);
        QFETCH(QVector<DataSeries>, series);
        const Stacked stacked(series, baseline);
        LayerOrdering::Input input{stacked.placements, stacked.span, baseline, {}};
        input.budget.seconds = 60.0;
        const OrderSearch::Result result = OrderSearch::run(input);
        QVERIFY(!result.capped);
        QVector<int> sorted = result.order;
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < sorted.size(); ++i)
            QCOMPARE(sorted[i], i);
        QVERIFY(result.wiggle <= result.start && result.start <= result.specified);
        const double found = metricsWiggle(series, baseline, LayerOrdering::optimized(input));
        QVERIFY(qAbs(found - result.wiggle) <= 1e-9 * (1.0 + found));
        for (int sort = 0; sort < 3; ++sort)
            QVERIFY(found <=
                    metricsWiggle(series, baseline,
                                  LayerOrdering::of(sort).order({stacked.placements, stacked.span, 0, {}})) *
                        (1.0 + 1e-12));
        QCOMPARE(OrderSearch::run(input).order, result.order);
    }

    // A few layers get the best of all orders.
    void fewLayersGetTheOptimum_data() {
        QTest::addColumn<int>("baseline");
        for (int baseline : {0, 1, 2, 3})
            QTest::newRow(Baseline::table()[baseline].name.toLatin1()) << baseline;
    }
    void fewLayersGetTheOptimum() {
        QFETCH(int, baseline);
        QVector<DataSeries> series = GraphFixtures::generated(6, 20, 21);
        series.append(DataSeries()); // no points: on top, wherever
        const Stacked stacked(series, baseline);
        const Baseline::Anchor anchor = Baseline::of(baseline).anchor;
        QVector<int> order = {0, 1, 2, 3, 4, 5};
        double best = std::numeric_limits<double>::infinity();
        do
            best = qMin(best, OrderObjective::wiggleOf(stacked.placements, stacked.span, anchor, order));
        while (std::next_permutation(order.begin(), order.end()));
        const OrderSearch::Result result = OrderSearch::run({stacked.placements, stacked.span, baseline, {}});
        QVERIFY(result.exact);
        QCOMPARE(result.order.size(), 7);
        QVERIFY(qAbs(result.wiggle - best) <= 1e-12 * best);
    }

    // Out of time, it gives the best order it has: at worst the best specified one.
    void budgetRunsOut() {
        const QVector<DataSeries> series = GraphFixtures::generated(60, 80, 9);
        LayerOrdering::Input input{GraphFixtures::place(series), GraphFixtures::span(series), 1, {}};
        int told = 0;
        input.budget.seconds = 0.0;
        input.budget.slow = [&told] { ++told; };
        const OrderSearch::Result result = OrderSearch::run(input);
        QVERIFY(result.capped);
        QCOMPARE(result.wiggle, result.specified);
        QCOMPARE(told, 0);
    }
};

QTEST_GUILESS_MAIN(OrderSearchTest)
#include "tst_ordersearch.moc"
