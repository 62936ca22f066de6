#pragma once

#include "data/SeriesPlacement.h"
#include "graph/baseline/Baseline.h"

#include <QVector>

// The thickness-weighted wiggle of a stacking order (as the layout's metrics define it: over every layer
// and every two neighbouring months it has, the sum of w (c' - c)^2 over the sum of w, w the mean
// thickness and c the band's centre), and what moving or swapping layers would change of it.
//
// A layer's centre slope is the baseline's slope plus the thickness changes g of the layers below it plus
// half its own: only the order decides which g lie below. Prefix sums over the positions of g, of the
// weights and of weight times slope give the change of a move in O(1) per month, and a move of one layer
// changes nothing in the months where that layer has no value. Per month the sum is Q1 - 2 rho Q2 +
// rho^2 W, with Q1 = sum w d^2, Q2 = sum w d, W = sum w over the layers' slopes d without the baseline,
// and rho the baseline's negative slope: 0 on a fixed bottom, half the total's slope on a fixed middle,
// the reference layer's slope under the "baseline" baseline.
class OrderObjective {
public:
    OrderObjective(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                   const QVector<int>& order);

    const QVector<int>& order() const { return layers; }
    // The thickness-weighted wiggle; 0 without weights.
    double wiggle() const;

    // How much wiggle() would change if the layer at position from moved to each position to, the others
    // keeping their order (moves), and if it traded places with the layer there (swaps); 0 at from. Exact,
    // except under the reference anchor when the move changes which layers are the reference: then
    // move()/swap() find out.
    void changesOf(int from, QVector<double>* moves, QVector<double>* swaps) const;
    void move(int from, int to);
    void swap(int a, int b);

    // The wiggle of an order computed from its stacked layers, as the layout's metrics compute it.
    static double wiggleOf(const QVector<SeriesPlacement>& placements, int span, Baseline::Anchor anchor,
                           const QVector<int>& order);
    // The tables hold layers x months doubles; above this the caller should not make one.
    static constexpr qint64 largestTable = 2 << 20;
    static qint64 tableCells(int layers, int span) { return qint64(layers + 1) * qint64(span + 1); }

    // The pairs of months m, m + 1 (of pairs in all) in which a series has a value on either side: lo .. hi,
    // empty when lo > hi. Only there does its place in the order change anything.
    static void pairsOf(const SeriesPlacement& p, int pairs, int* lo, int* hi);
    // A series' thickness change g over the months m, m + 1, and its weight w there: its mean thickness
    // where it has a value in both, else 0.
    struct PairChange {
        double g;
        double w;
    };
    static PairChange pairChange(const SeriesPlacement& p, int m) {
        const double f0 = p.valueAt(m);
        const double f1 = p.valueAt(m + 1);
        return {f1 - f0, p.covers(m) && p.covers(m + 1) ? (f0 + f1) / 2.0 : 0.0};
    }
    // The series with a value, in order, and those without (which change nothing wherever they go).
    static void splitByValue(const QVector<SeriesPlacement>& placements, QVector<int>* withValue,
                             QVector<int>* without);

private:
    // The months (pairs m, m + 1) in which moving series s can change anything: where it has a value
    // on either side, and where it is the reference.
    void monthsOf(int series, int* from, int* to) const;
    double f(int series, int month) const { return placements[series].valueAt(month); }
    // A series' thickness change and weight over the pair of months m, m + 1 (0 where it has no value).
    double g(int series, int pair) const { return seriesG[qint64(series) * pairs + pair]; }
    double w(int series, int pair) const { return seriesW[qint64(series) * pairs + pair]; }
    double* row(QVector<double>& table, int boundary, int columns) {
        return table.data() + qint64(boundary) * columns;
    }
    const double* row(const QVector<double>& table, int boundary, int columns) const {
        return table.constData() + qint64(boundary) * columns;
    }
    // Recomputes the prefix rows of the boundaries from .. to over the pairs lo .. hi.
    void rebuildRows(int from, int to, int lo, int hi);
    // Recomputes Q1, rho and the month sums over the pairs lo .. hi (the reference: all of them).
    void refreshMonths(int lo, int hi);
    void findReferences();

    QVector<SeriesPlacement> placements;
    int span;
    int pairs;
    Baseline::Anchor anchor;
    QVector<int> layers;
    QVector<int> positions; // of each series
    int n;
    // Prefix rows by boundary k = 0 .. n (the layers at positions below k), pairs columns each; cf over
    // months (span + 1 columns), for the reference's centre.
    QVector<double> cg, cw, cwd, cf;
    // By series, pairs columns each: what does not depend on the order.
    QVector<double> seriesG, seriesW;
    QVector<double> q1, rho, monthSum;
    QVector<int> referenceSeries; // by month
    // Months each series is the reference, or first > last.
    QVector<int> referenceFirst, referenceLast;
    double weightSum = 0.0;
    double total = 0.0;
};
