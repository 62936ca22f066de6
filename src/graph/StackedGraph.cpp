#include "graph/StackedGraph.h"

#include "graph/Baseline.h"
#include "graph/ColorKeys.h"
#include "graph/GraphScales.h"
#include "graph/LabelCache.h"
#include "graph/LayerItem.h"
#include "graph/LayerLabel.h"
#include "graph/LayerOrdering.h"
#include "graph/LayerStacking.h"
#include "graph/LayerToolTip.h"
#include "graph/ValueFormatter.h"
#include "view/StackedGraphView.h"

#include <QBrush>
#include <QGraphicsPathItem>
#include <QPen>
#include <QToolTip>

#include <cmath>
#include <limits>

StackedGraph::StackedGraph(const QVector<DataSeries>* series, const QString* unitText,
                           const bool* unitAfterValue, const QVector<QString>* magnitudeSuffixes,
                           QWidget* parent)
    : QGraphicsScene(parent)
    , series(series)
    , unitText(unitText)
    , unitAfterValue(unitAfterValue)
    , magnitudeSuffixes(magnitudeSuffixes) {
    view = new StackedGraphView(this, parent);
    connect(view, &StackedGraphView::toolTipChanged, this, &StackedGraph::makeToolTip);
}

StackedGraph::~StackedGraph() = default;

int StackedGraph::monthIndex(int year, int month) const {
    // Saturates: callers size widgets by it, and far-apart years must not wrap around.
    const qint64 index = monthRange().index(year, month);
    return int(
        qBound(qint64(std::numeric_limits<int>::min()), index, qint64(std::numeric_limits<int>::max())));
}

MonthRange StackedGraph::monthRange() const {
    MonthRange range;
    range.firstYear = firstYear;
    range.firstMonth = firstMonth;
    range.lastYear = lastYear;
    range.lastMonth = lastMonth;
    return range;
}

ValueFormatter StackedGraph::formatter() const {
    return ValueFormatter(*magnitudeSuffixes, *unitText, *unitAfterValue, detailedInfo);
}

void StackedGraph::computeXRange() {
    const MonthRange range = MonthRange::ofSeries(*series);
    firstYear = range.firstYear;
    firstMonth = range.firstMonth;
    lastYear = range.lastYear;
    lastMonth = range.lastMonth;
    placements = range.drawable() ? SeriesPlacement::of(*series, range) : QVector<SeriesPlacement>();
    if (series->isEmpty() || series->first().points.isEmpty())
        computeScales();
}

QString StackedGraph::formatValue(double value, int magnitude) const {
    return formatter().format(value, magnitude);
}

int StackedGraph::commonMagnitude(const QVector<DataPoint>& points) const {
    return formatter().commonMagnitude(points);
}

void StackedGraph::emitColorTexts() {
    const ColorKeys::Kind kind = ColorKeys::kindOf(colorAlgo);
    const ValueFormatter values = formatter();
    const QString maxText = ColorKeys::text(kind, colorKeyMax, monthRange(), values);
    const QString minText = ColorKeys::text(kind, colorKeyMin, monthRange(), values);
    emit maxColorTextChanged(maxText, colorScheme.textColorAt(1.0));
    emit minColorTextChanged(minText, colorScheme.textColorAt(0.0));
}

QString StackedGraph::toolTipText(const QGraphicsItem* item) const {
    if (!item)
        return {};
    for (const Layer& layer : layers) {
        if (layer.item && layer.item == item) {
            if (layer.seriesIndex < 0 || layer.seriesIndex >= series->size())
                return {};
            return LayerToolTip::text(series->at(layer.seriesIndex), formatter());
        }
    }
    return {};
}

void StackedGraph::makeStackedGraph() {
    if (!rebuildEnabled)
        return;
    clear();
    // The cleared items are gone; keep no pointer a tool tip could still match.
    for (Layer& layer : layers)
        layer.item = nullptr;
    bottoms.clear();
    computeColorKeyRange();
    if (series->isEmpty())
        return;
    if (!orderLayers())
        return;
    if (!computeScales())
        return;
    const QVector<double> baseline = Baseline::compute(Baseline::kindOf(baselineAlgo), seriesOrder(),
                                                       placements, int(monthRange().span()));
    buildLayerShapes(baseline);
    setSceneRect(QRectF(0.0, -1.01 * maxTop * yScale, xRange, 1.01 * graphHeight));
}

void StackedGraph::setXRange(int newXRange) {
    if (double(newXRange) == xRange)
        return;
    xRange = newXRange;
    makeStackedGraph();
}

void StackedGraph::setBaselineAlgo(int newBaselineAlgo) {
    if (newBaselineAlgo == baselineAlgo)
        return;
    baselineAlgo = newBaselineAlgo;
    makeStackedGraph();
}

void StackedGraph::setSortAlgo(int newSortAlgo) {
    if (newSortAlgo == sortAlgo)
        return;
    sortAlgo = newSortAlgo;
    makeStackedGraph();
}

void StackedGraph::setColorAlgo(int newColorAlgo) {
    if (newColorAlgo == colorAlgo)
        return;
    colorAlgo = newColorAlgo;
    makeStackedGraph();
}

void StackedGraph::setMaxColor(const QColor& newMaxColor) {
    colorScheme.setMaxColor(newMaxColor);
    makeStackedGraph();
}

void StackedGraph::setMinColor(const QColor& newMinColor) {
    colorScheme.setMinColor(newMinColor);
    makeStackedGraph();
}

void StackedGraph::setDetailedInformation(bool detailedInfo) {
    this->detailedInfo = detailedInfo;
    emitColorTexts();
}

void StackedGraph::makeToolTip(QGraphicsItem* item, QPoint pos) {
    const QString text = toolTipText(item);
    if (!text.isEmpty())
        QToolTip::showText(pos, text, view);
}

void StackedGraph::computeColorKeyRange() {
    const ColorKeys::Range keys = ColorKeys::range(ColorKeys::kindOf(colorAlgo), *series, monthRange(),
                                                   ColorKeys::Range{colorKeyMin, colorKeyMax});
    colorKeyMin = keys.min;
    colorKeyMax = keys.max;
    emitColorTexts();
}

// False when the data spans more months than can be drawn; the graph then stays empty.
bool StackedGraph::orderLayers() {
    computeXRange();
    layers.clear();
    if (!monthRange().drawable())
        return false;
    const QVector<int> order =
        LayerOrdering::order(LayerOrdering::kindOf(sortAlgo), placements, int(monthRange().span()));
    layers.reserve(order.size());
    for (int s : order) {
        Layer layer;
        layer.seriesIndex = s;
        layer.cursor = placements[s].count > 0 ? placements[s].count : -1;
        layers.append(layer);
    }
    return true;
}

// False when the totals overflow: such a stack has no finite scene coordinates.
bool StackedGraph::computeScales() {
    const MonthRange range = monthRange();
    xScale = GraphScales::xScale(xRange, range);
    const QVector<double> totals = GraphScales::totals(placements, int(range.span()));
    for (double total : totals) {
        if (!std::isfinite(total))
            return false;
    }
    const double typical = GraphScales::typicalTotal(totals);
    yScale = GraphScales::yScale(typical);
    if (!(typical > 0.0)) {
        graphHeight = 4.0;
        maxTop = 2.0;
    }
    return true;
}

QVector<int> StackedGraph::seriesOrder() const {
    QVector<int> order;
    order.reserve(layers.size());
    for (const Layer& layer : layers)
        order.append(layer.seriesIndex);
    return order;
}

void StackedGraph::buildLayerShapes(const QVector<double>& baseline) {
    if (series->isEmpty())
        return;
    const double lowest = Baseline::lowest(baseline);
    LayerStacking stacking = LayerStacking::stack(seriesOrder(), placements, baseline);
    const ColorKeys::Kind colorKind = ColorKeys::kindOf(colorAlgo);
    const ColorKeys::Range keys{colorKeyMin, colorKeyMax};
    const MonthRange range = monthRange();
    const QPen pen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    labelCache.startBuild();
    for (int i = 0; i < layers.size(); ++i) {
        const int s = layers[i].seriesIndex;
        const SeriesPlacement& placement = placements[s];
        const QVector<double>& layerBottom = stacking.bottoms[i];
        const QPainterPath label = labelsEnabled && placement.count > 0
                                       ? labelCache.outlines(LayerLabel::place(placement, layerBottom),
                                                             series->at(s).name, xScale, yScale)
                                       : QPainterPath();
        const BandGeometry band = BandGeometry::of(placement, layerBottom, xScale, yScale);
        if (band.count() > 0) {
            // Where the outline ends: back at its start.
            penX = band.first;
            penY = band.tops[0];
        }
        const double position = ColorKeys::position(ColorKeys::key(colorKind, series->at(s), range), keys);
        auto* item = new LayerItem(band, label, pen, QBrush(colorScheme.colorAt(position), Qt::SolidPattern));
        addItem(item);
        layers[i].item = item;
    }
    maxTop = LayerStacking::maxTop(stacking.top);
    graphHeight = LayerStacking::graphHeight(maxTop, lowest, yScale);
    bottoms = std::move(stacking.bottoms);
}
