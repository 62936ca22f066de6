#pragma once

#include "graph/StackedGraph.h"

// Counts the builds a scene runs from now on.
class BuildCounter {
public:
    explicit BuildCounter(const StackedGraph* graph)
        : graph(graph)
        , start(graph->buildCount()) {}
    int count() const { return graph->buildCount() - start; }
    int size() const { return count(); }

private:
    const StackedGraph* graph;
    int start;
};
