#pragma once

#include "graph/StackedGraph.h"
#include "view/StackedGraphView.h"
#include "widgets/GraphProbe.h"

#include <QPoint>

// A viewport pixel whose neighbourhood (reach pixels each way, both diagonals) lies on one layer by the
// probe's own reckoning, and that layer's series (-1 and a null point when there is none); avoid: a
// series not to take.
inline QPoint pixelInsideALayer(StackedGraph* graph, GraphProbe* probe, int* series, int avoid = -1,
                                int reach = 4) {
    StackedGraphView* view = graph->view;
    const auto seriesAt = [&](QPoint pixel) {
        const LayerHit hit =
            probe->hitAt(view->mapToScene(pixel) + QPointF(0.5, 0.5) / view->transform().m11());
        return hit.onLayer() ? graph->layout().layers[hit.layer].seriesIndex : -1;
    };
    const QRect port = view->viewport()->rect().adjusted(10, 10, -10, -10);
    for (int y = port.top(); y < port.bottom(); y += 3)
        for (int x = port.left(); x < port.right(); x += 7) {
            const int s = seriesAt(QPoint(x, y));
            bool inside = s >= 0 && s != avoid;
            for (int d = -reach; d <= reach && inside; ++d)
                inside = seriesAt(QPoint(x + d, y + d)) == s && seriesAt(QPoint(x - d, y + d)) == s;
            if (inside) {
                *series = s;
                return QPoint(x, y);
            }
        }
    *series = -1;
    return {};
}
