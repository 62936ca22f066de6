#include "graph/StackedGraph.h"

#include "graph/GraphScales.h"
#include "graph/LayerItems.h"
#include "graph/LayerToolTip.h"
#include "graph/ValueFormatter.h"
#include "view/StackedGraphView.h"

#include <QGuiApplication>
#include <QToolTip>

#include <algorithm>
#include <limits>

StackedGraph::StackedGraph(const QVector<DataSeries>* series, const QString* unitText,
                           const bool* unitAfterValue, const QVector<QString>* magnitudeSuffixes,
                           QWidget* parent)
    : QGraphicsScene(parent)
    , series(series)
    , unitText(unitText)
    , unitAfterValue(unitAfterValue)
    , magnitudeSuffixes(magnitudeSuffixes) {
    // Every layer spans the graph's width and the layers are rebuilt whole on every change: a spatial
    // index would cost more to keep than the searches it would speed up.
    setItemIndexMethod(QGraphicsScene::NoIndex);
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

void StackedGraph::setMonthRange(const MonthRange& range) {
    firstYear = range.firstYear;
    firstMonth = range.firstMonth;
    lastYear = range.lastYear;
    lastMonth = range.lastMonth;
}

GraphSettings StackedGraph::settings() const {
    GraphSettings s;
    s.baseline = baselineAlgo;
    s.sort = sortAlgo;
    s.coloring = colorAlgo;
    s.maxColor = colorScheme.maxColor;
    s.minColor = colorScheme.minColor;
    s.width = xRange;
    s.labels = labelMode;
    s.hidden = hidden;
    return s;
}

DataSet StackedGraph::dataSet() const {
    // Copies share the vectors' data: nothing is copied here.
    return DataSet{*series, *unitText, *unitAfterValue, *magnitudeSuffixes};
}

ValueFormatter StackedGraph::valueFormatter() const {
    return ValueFormatter(*magnitudeSuffixes, *unitText, *unitAfterValue, detailedInfo);
}

void StackedGraph::computeXRange() {
    setMonthRange(MonthRange::ofSeries(*series));
    // Without data the scales fall back at once.
    if (series->isEmpty() || series->first().points.isEmpty()) {
        xScale = GraphScales::xScale(xRange, monthRange());
        yScale = 1.0;
        graphHeight = 4.0;
        maxTop = 2.0;
    }
}

QString StackedGraph::formatValue(double value, int magnitude) const {
    return valueFormatter().format(value, magnitude);
}

int StackedGraph::commonMagnitude(const QVector<DataPoint>& points) const {
    return valueFormatter().commonMagnitude(points);
}

void StackedGraph::emitColorTexts() {
    const ColorKeys::Kind kind = GraphSettings::coloringKind(colorAlgo);
    const ValueFormatter values = valueFormatter();
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
            return LayerToolTip::text(series->at(layer.seriesIndex), valueFormatter());
        }
    }
    return {};
}

// Clear, lay out, legend, then (with data) the new order, scales and items, and the rectangle.
void StackedGraph::makeStackedGraph() {
    if (!rebuildEnabled)
        return;
    ++builds;
    clear();
    // The cleared items are gone; keep no pointer a tool tip could still match.
    for (Layer& layer : layers)
        layer.item = nullptr;
    // The colour range counts from the months of the last computeXRange, as the build finds its own after.
    GraphLayout::Carry carry{monthRange(), {colorKeyMin, colorKeyMax}, std::move(knownOrder), {}};
    knownOrder.clear();
    // A searched order depends only on the data, the baseline and the series taking part: found once.
    const GraphSettings current = settings();
    const bool searched = LayerOrdering::of(sortAlgo).searched;
    OrderCache::Key orderKey;
    QVector<int> taking;
    if (searched) {
        taking = current.shownSeries(int(series->size()));
        orderKey = OrderCache::keyOf(*series, baselineAlgo, sortAlgo, taking);
        if (carry.order.isEmpty())
            carry.order = orderCache.find(orderKey);
        if (carry.order.isEmpty())
            ++searches;
    }
    bool busy = false;
    carry.orderBudget.slow = [&busy] {
        busy = true;
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    };
    graphLayout = layOut(dataSet(), current, carry);
    if (busy)
        QGuiApplication::restoreOverrideCursor();
    if (searched && graphLayout.order.size() == taking.size())
        orderCache.store(orderKey, graphLayout.order);
    colorKeyMin = graphLayout.keys.min;
    colorKeyMax = graphLayout.keys.max;
    emitColorTexts();
    if (graphLayout.hasSeries) {
        takeLayout();
        if (graphLayout.drawable) {
            addLayerItems();
            setSceneRect(graphLayout.sceneRect);
        }
    }
    const int highlightBefore = highlighted;
    applyHighlight();
    emit layoutChanged();
    if (highlighted != highlightBefore)
        emit highlightChanged(highlighted);
}

// The layout's order, months and scales become the scene's own.
void StackedGraph::takeLayout() {
    setMonthRange(graphLayout.months);
    layers.clear();
    layers.reserve(graphLayout.layers.size());
    for (int i = 0; i < graphLayout.order.size(); ++i) {
        Layer layer;
        layer.seriesIndex = graphLayout.order[i];
        const int points = i < graphLayout.layers.size() ? graphLayout.layers[i].band.count() : 0;
        // The ordering sweep leaves every started layer's cursor at its point count.
        layer.cursor = points > 0 ? points : -1;
        layers.append(layer);
    }
    if (graphLayout.months.drawable())
        xScale = graphLayout.xScale;
    if (!graphLayout.drawable)
        return;
    yScale = graphLayout.yScale;
    maxTop = graphLayout.maxTop;
    graphHeight = graphLayout.graphHeight;
}

void StackedGraph::addLayerItems() {
    const QVector<LayerItem*> items =
        LayerItems::addTo(*this, graphLayout, colorScheme, labelCache, itemStorage);
    for (int i = 0; i < items.size(); ++i) {
        layers[i].item = items[i];
        const BandGeometry& band = graphLayout.layers[i].band;
        if (band.count() > 0) {
            // Every outline ends where it began.
            penX = band.first;
            penY = band.tops[0];
        }
    }
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

void StackedGraph::setLabelMode(GraphSettings::LabelMode mode) {
    if (mode == labelMode)
        return;
    labelMode = mode;
    makeStackedGraph();
}

void StackedGraph::setHiddenSeries(const QVector<int>& seriesIndexes) {
    const QVector<int> normalized = GraphSettings::normalizedIndexes(seriesIndexes);
    if (normalized == hidden)
        return;
    hidden = normalized;
    makeStackedGraph();
}

void StackedGraph::setHighlightedSeries(int seriesIndex) {
    const int before = highlighted;
    highlighted = seriesIndex;
    applyHighlight();
    if (highlighted != before)
        emit highlightChanged(highlighted);
}

// The highlighted layer and its name at full strength, the others faded; a series no longer drawn ends
// the highlight.
void StackedGraph::applyHighlight() {
    const auto drawn = std::find_if(layers.cbegin(), layers.cend(), [this](const Layer& layer) {
        return layer.item && layer.seriesIndex == highlighted;
    });
    if (drawn == layers.cend())
        highlighted = -1;
    for (const Layer& layer : layers) {
        if (!layer.item)
            continue;
        const bool faded = highlighted >= 0 && layer.seriesIndex != highlighted;
        layer.item->setOpacity(faded ? fadedOpacity : 1.0);
    }
}

void StackedGraph::makeToolTip(QGraphicsItem* item, QPoint pos) {
    const QString text = toolTipText(item);
    if (!text.isEmpty())
        QToolTip::showText(pos, text, view);
}
