#pragma once

#include "graph/ColorKeys.h"
#include "graph/baseline/Baseline.h"
#include "graph/order/LayerOrdering.h"

#include <QColor>
#include <QStringList>
#include <QVector>

// What the user chooses for one graph: the baseline, ordering and colouring by their codes (the
// index of the control panel's entry; the entry's text is also the command line's name), the two
// end colours of the colour scale, the graph's width in scene units and how layers are named. The
// names, codes and defaults are written here and nowhere else.
struct GraphSettings {
    // How each layer's name is written: where the layer first stops growing fast, sized by its
    // thickness there; at the largest size its band holds; or not at all.
    enum class LabelMode { Classic, Fitted, None };

    // The control panel's start state, for a data set spanning one month.
    GraphSettings();

    int baseline;
    int sort;
    int coloring;
    QColor maxColor;
    QColor minColor;
    double width;
    LabelMode labels = LabelMode::Classic;
    // Series left out of the graph, by index in the data set, ascending; the rest restack as if these
    // were not there, on the data's whole month range and colour range. Empty: every series takes part.
    QVector<int> hidden;

    bool operator==(const GraphSettings& other) const;
    bool operator!=(const GraphSettings& other) const { return !(*this == other); }

    static constexpr int defaultBaseline = 2; // "baseline"
    static constexpr int defaultSort = 2;     // "weighted"
    static constexpr int defaultColoring = 4; // "sum quant"
    // Index of the colour-scheme entry chosen at start ("grayscale"; entry 0 is "custom").
    static constexpr int defaultScheme = 1;
    // Scene units a month of data gets at the default width; the width slider offers half to twice it.
    static constexpr double unitsPerMonth = 320.0;

    // Entry texts by code.
    static const QStringList& baselineNames();
    static const QStringList& sortNames();
    static const QStringList& coloringNames();
    // The command line's names of the label modes, in the enum's order.
    static const QStringList& labelModeNames();
    // Code of an entry text, or -1.
    static int codeOf(const QStringList& names, const QString& name) { return int(names.indexOf(name)); }

    // What a colouring code stands for; unknown codes give every layer the same key. (Baselines and
    // orderings are found by their codes in their own tables.)
    static ColorKeys::Kind coloringKind(int code);

    // The series that take part, by index and ascending, in a data set of count series: the order, the
    // scales and the stack are made of these alone.
    QVector<int> shownSeries(int count) const;
    // Indexes sorted and unique, as hidden keeps them.
    static QVector<int> normalizedIndexes(QVector<int> indexes);

    // The default width of a graph of months 0 .. monthSpan, as the width slider starts.
    static double defaultWidth(qint64 monthSpan);
};
