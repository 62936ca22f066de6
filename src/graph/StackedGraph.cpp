#include "graph/StackedGraph.h"

#include "view/StackedGraphView.h"

// Placeholder bodies so that everything links while the engine is written.
StackedGraph::StackedGraph(const QVector<DataSeries>* series, const QString* unitText, const bool* unitAfterValue,
                           const QVector<QString>* magnitudeSuffixes, QWidget* parent)
    : QGraphicsScene(parent)
    , series(series)
    , unitText(unitText)
    , unitAfterValue(unitAfterValue)
    , magnitudeSuffixes(magnitudeSuffixes)
{
    view = new StackedGraphView(this, parent);
    connect(view, &StackedGraphView::toolTipChanged, this, &StackedGraph::makeToolTip);
}

StackedGraph::~StackedGraph() = default;

int StackedGraph::monthIndex(int year, int month) const
{
    return (year - firstYear) * 12 + (month - firstMonth);
}

void StackedGraph::computeXRange() {}
QString StackedGraph::formatValue(double, int) const { return {}; }
int StackedGraph::commonMagnitude(const QVector<DataPoint>&) const { return 0; }
void StackedGraph::emitColorTexts() {}
QString StackedGraph::toolTipText(const QGraphicsItem*) const { return {}; }
void StackedGraph::makeStackedGraph() {}
void StackedGraph::setXRange(int) {}
void StackedGraph::setBaselineAlgo(int) {}
void StackedGraph::setSortAlgo(int) {}
void StackedGraph::setColorAlgo(int) {}
void StackedGraph::setMaxColor(const QColor&) {}
void StackedGraph::setMinColor(const QColor&) {}
void StackedGraph::setDetailedInformation(bool) {}
void StackedGraph::makeToolTip(QGraphicsItem*, QPoint) {}
void StackedGraph::computeColorKeyRange() {}
void StackedGraph::orderLayers() {}
void StackedGraph::computeScales() {}
void StackedGraph::buildLayerShapes() {}
