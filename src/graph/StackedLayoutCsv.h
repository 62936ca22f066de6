#pragma once

class QIODevice;
class StackedGraph;

// The layout of the last build as CSV: one row per layer and month with its bottom and top in
// value units, layers from the bottom of the stack up.
class StackedLayoutCsv {
public:
    static void write(const StackedGraph& graph, QIODevice& out);
};
