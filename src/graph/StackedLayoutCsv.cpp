#include "graph/StackedLayoutCsv.h"

#include "data/NumberText.h"
#include "graph/SeriesPlacement.h"
#include "graph/StackedGraph.h"

#include <QByteArray>
#include <QIODevice>

void StackedLayoutCsv::write(const StackedGraph& graph, QIODevice& out) {
    out.write("layer,series,year,month,bottom,top\n");
    const QVector<Layer>& layers = graph.stackingOrder();
    const QVector<QVector<double>>& bottoms = graph.layerBottoms();
    if (bottoms.size() != layers.size() || !graph.monthRange().drawable())
        return;
    // The same placement the build used, so every row is a point the scene drew.
    const QVector<SeriesPlacement> placements = SeriesPlacement::of(*graph.series, graph.monthRange());
    for (int i = 0; i < layers.size(); ++i) {
        const int s = layers[i].seriesIndex;
        if (s < 0 || s >= placements.size())
            continue;
        const SeriesPlacement& placement = placements[s];
        if (bottoms[i].size() != placement.count)
            continue;
        const QByteArray prefix =
            QByteArray::number(i) + ',' + NumberText::csvField(graph.series->at(s).name) + ',';
        QByteArray rows;
        for (int k = 0; k < placement.count; ++k) {
            const DataPoint& point = placement.points[k];
            const double bottom = bottoms[i][k];
            rows += prefix + QByteArray::number(point.year) + ',' + QByteArray::number(point.month) + ',' +
                    NumberText::shortest(bottom) + ',' + NumberText::shortest(bottom + point.value) + '\n';
        }
        out.write(rows);
    }
}
