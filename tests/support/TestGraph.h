#pragma once

#include "data/DataSet.h"
#include "graph/StackedGraph.h"

#include <QColor>
#include <QWidget>

#include <memory>

// A scene over its own copy of the data, built as the control panel builds it: weighted sorting,
// sum quant colouring between red and yellow, the given baseline and width.
struct TestGraph {
    TestGraph(const DataSet& set, int baseline, double width,
              LayerItem::Storage storage = LayerItem::Storage::WholePath,
              GraphSettings::LabelMode labels = GraphSettings::LabelMode::Classic)
        : data(set) {
        graph = std::make_unique<StackedGraph>(&data.series, &data.unitText, &data.unitAfterValue,
                                               &data.magnitudeSuffixes, &parent);
        graph->rebuildEnabled = false;
        graph->itemStorage = storage;
        graph->labelMode = labels;
        graph->computeXRange();
        graph->setXRange(int(width));
        graph->setBaselineAlgo(baseline);
        graph->setSortAlgo(2);
        graph->setColorAlgo(4);
        graph->setMaxColor(QColor(246, 82, 82));
        graph->setMinColor(QColor(255, 246, 75));
        graph->rebuildEnabled = true;
        graph->makeStackedGraph();
    }
    DataSet data;
    QWidget parent;
    std::unique_ptr<StackedGraph> graph;
};
