#include "widgets/GraphProbe.h"

#include "band/LayerItem.h"
#include "graph/StackedGraph.h"
#include "graph/ValueFormatter.h"
#include "probe/Readout.h"
#include "view/StackedGraphView.h"

namespace {

// Half the outline's width: a band of one month is a line that wide, and at least half a pixel.
constexpr double halfPen = 0.25;

} // namespace

GraphProbe::GraphProbe(StackedGraph* graph)
    : QObject(graph)
    , graph(graph) {
    connect(graph->view, &StackedGraphView::pointerMoved, this, &GraphProbe::pointerMoved);
    connect(graph->view, &StackedGraphView::pointerLeft, this, &GraphProbe::pointerLeft);
    connect(graph->view, &StackedGraphView::clicked, this, &GraphProbe::click);
}

void GraphProbe::setActive(bool on) {
    active = on;
    graph->view->setTracksPointer(on);
    if (!on)
        emit readoutChanged(QString());
}

const QVector<QPainterPath>& GraphProbe::labels() {
    if (labelsOfBuild != graph->buildCount()) {
        labelsOfBuild = graph->buildCount();
        labelOutlines.clear();
        for (const Layer& layer : graph->stackingOrder()) {
            const auto* item = dynamic_cast<const LayerItem*>(layer.item);
            labelOutlines.append(item ? item->labelOutlines() : QPainterPath());
        }
    }
    return labelOutlines;
}

LayerHit GraphProbe::hitAt(const QPointF& scenePoint) {
    const double pixel = graph->view->transform().m11();
    const double reach = halfPen + (pixel > 0.0 ? 0.5 / pixel : 0.0);
    return LayerHit::find(graph->layout(), labels(), scenePoint, reach);
}

QString GraphProbe::readoutAt(const QPointF& scenePoint) {
    return Readout::line(
        Readout::texts(graph->layout(), *graph->series, graph->valueFormatter(), hitAt(scenePoint)));
}

void GraphProbe::pointerMoved(const QPointF& scenePoint) {
    if (active)
        emit readoutChanged(readoutAt(scenePoint));
}

void GraphProbe::pointerLeft() {
    if (active)
        emit readoutChanged(QString());
}

void GraphProbe::click(const QPointF& scenePoint) {
    if (!active)
        return;
    const LayerHit hit = hitAt(scenePoint);
    const QVector<LayerLayout>& layers = graph->layout().layers;
    emit layerClicked(hit.onLayer() && hit.layer < layers.size() ? layers[hit.layer].seriesIndex : -1);
}
