#pragma once

class QGraphicsPathItem;

// One entry of a graph's stacking order; position 0 is the bottom layer.
struct Layer {
    int seriesIndex = 0;
    // Working field of the ordering sweep: index of the series' point at the month being
    // processed, -1 before the series has started.
    int cursor = -1;
    // Owned by the scene; only compared, never dereferenced, once the scene was cleared.
    QGraphicsPathItem* item = nullptr;
};
