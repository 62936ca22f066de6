#pragma once

#include "band/BandGeometry.h"
#include "data/DataSet.h"
#include "data/MonthRange.h"
#include "graph/ColorKeys.h"
#include "graph/GraphSettings.h"
#include "graph/order/LayerOrdering.h"
#include "labels/LabelPlacement.h"

#include <QRectF>
#include <QVector>

// One layer of a laid-out graph.
struct LayerLayout {
    int seriesIndex = 0;
    // The band's outline: its months, bottoms and tops, and the scales to the scene.
    BandGeometry band;
    // The series' name as drawn; empty without one.
    LabelPlacement label;
    // Position on the colour scale, 0 .. 1.
    double colorPosition = 0.0;
};

// Everything a build computes from the data set and the settings, as one value: the scene draws it,
// the exports, CSV writers and metrics read it, and nothing downstream changes it.
struct GraphLayout {
    // What a build takes over from the one before: the colour range is computed from the month range
    // of the last computeXRange, before the build finds its own, and an unknown colouring keeps the
    // colour range it had.
    struct Carry {
        MonthRange keyMonths;
        ColorKeys::Range keys;
        // The order of these series by this sorting when it is already known, as when a batch export has
        // laid the graph out once to find the width that fills its image; empty: it is computed.
        QVector<int> order;
        // How long computing it may take.
        LayerOrdering::Budget orderBudget;
    };

    // The legend: the colour range, what its ends stand for and the months they count from.
    ColorKeys::Kind coloring = ColorKeys::Kind::None;
    ColorKeys::Range keys;
    MonthRange keyMonths;

    // False without any series: then nothing below is set.
    bool hasSeries = false;
    MonthRange months;
    // Series indexes from the bottom layer up, of the series the settings do not hide; empty when the
    // months cannot be drawn.
    QVector<int> order;
    // False when nothing can be drawn: the span is too long or the totals overflow.
    bool drawable = false;
    double xScale = 1.0;
    double yScale = 1.0;
    QVector<double> baseline;
    double lowestBaseline = 0.0;
    double maxTop = 2.0;
    double graphHeight = 4.0;
    QRectF sceneRect;
    // The bands are the layers' shares of each month's total, in percent, not their values.
    bool shares = false;
    // How the labels below were placed.
    GraphSettings::LabelMode labelMode = GraphSettings::LabelMode::Classic;
    // Bottom layer first, in the order above.
    QVector<LayerLayout> layers;
};

// Lays out the graph of the data set with these settings.
GraphLayout layOut(const DataSet& data, const GraphSettings& settings, const GraphLayout::Carry& carry);
// The same for a first build: the colour range counts from the data's own months.
GraphLayout layOut(const DataSet& data, const GraphSettings& settings);
