#pragma once

#include "band/LayerItem.h"
#include "data/DataSeries.h"
#include "data/MonthRange.h"
#include "graph/ColorScheme1D.h"
#include "graph/GraphLayout.h"
#include "graph/GraphSettings.h"
#include "graph/Layer.h"
#include "graph/order/OrderCache.h"
#include "labels/LabelCache.h"

#include <QColor>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QPoint>
#include <QString>
#include <QVector>

class StackedGraphView;
class ValueFormatter;

// The scene that turns the data set into a stacked graph. Every change of a drawing parameter
// rebuilds the whole graph through makeStackedGraph(): it lays the graph out (layOut) and adds one
// path item per layer.
class StackedGraph : public QGraphicsScene {
    Q_OBJECT
public:
    StackedGraph(const QVector<DataSeries>* series, const QString* unitText, const bool* unitAfterValue,
                 const QVector<QString>* magnitudeSuffixes, QWidget* parent);
    ~StackedGraph() override;

    int monthIndex(int year, int month) const;
    int monthSpan() const { return monthIndex(lastYear, lastMonth); }
    void computeXRange();
    QString formatValue(double value, int magnitude) const;
    int commonMagnitude(const QVector<DataPoint>& points) const;
    void emitColorTexts();
    // The one formatter of every value the scene shows, with its data set's unit and suffixes.
    ValueFormatter valueFormatter() const;

    // The layout of the last build, and the settings the next build will use.
    const GraphLayout& layout() const { return graphLayout; }
    GraphSettings settings() const;
    // The data set the scene reads.
    DataSet dataSet() const;
    // Builds that ran (the gate let them through) since construction.
    int buildCount() const { return builds; }
    // Searched stacking orders computed since construction; the others were found kept.
    int orderSearchCount() const { return searches; }

    // The scene's stacking order after the last build (bottom first).
    const QVector<Layer>& stackingOrder() const { return layers; }
    int baselineAlgorithm() const { return baselineAlgo; }
    int sortAlgorithm() const { return sortAlgo; }
    int colorAlgorithm() const { return colorAlgo; }
    double horizontalScale() const { return xScale; }
    double verticalScale() const { return yScale; }
    double stackTop() const { return maxTop; }
    const ColorScheme1D& colorScale() const { return colorScheme; }
    MonthRange monthRange() const;
    // Text of the tool tip for the layer holding item, or an empty text.
    QString toolTipText(const QGraphicsItem* item) const;

    StackedGraphView* view = nullptr;
    double xRange = 320.0;
    double graphHeight = 4.0;
    bool rebuildEnabled = true;
    bool detailedInfo = false;
    // How the layer items keep their outlines: batch exports, which only draw the graph once, let them
    // build their paths while drawing instead of holding them all.
    LayerItem::Storage itemStorage = LayerItem::Storage::WholePath;
    // How layers are named; benchmarks and tests also switch names off, the slow part of a build.
    GraphSettings::LabelMode labelMode = GraphSettings::LabelMode::Classic;
    // The order of the current series by the current sorting, when the caller already has it: the next
    // build takes it instead of computing it again, and clears it.
    QVector<int> knownOrder;
    // Series left out of the graph (GraphSettings::hidden), and the one series drawn at full strength
    // while the others fade (-1: none).
    const QVector<int>& hiddenSeries() const { return hidden; }
    int highlightedSeries() const { return highlighted; }
    // Opacity of the layers that are not highlighted while one is.
    static constexpr double fadedOpacity = 0.25;

    const QVector<DataSeries>* series;
    const QString* unitText;
    const bool* unitAfterValue;
    const QVector<QString>* magnitudeSuffixes;

signals:
    void maxColorTextChanged(const QString& text, const QColor& color);
    void minColorTextChanged(const QString& text, const QColor& color);
    // A build has ended: the layout and the items are new.
    void layoutChanged();
    // The highlighted series changed, also when a build found it gone.
    void highlightChanged(int seriesIndex);

public slots:
    void makeStackedGraph();
    void setXRange(int newXRange);
    void setBaselineAlgo(int newBaselineAlgo);
    void setSortAlgo(int newSortAlgo);
    void setColorAlgo(int newColorAlgo);
    void setMaxColor(const QColor& newMaxColor);
    void setMinColor(const QColor& newMinColor);
    void setDetailedInformation(bool detailedInfo);
    void setLabelMode(GraphSettings::LabelMode mode);
    // Rebuilds when the set changes; indexes are kept sorted and unique.
    void setHiddenSeries(const QVector<int>& seriesIndexes);
    // Fades every other layer; -1, or a series the graph does not show, clears it. No rebuild.
    void setHighlightedSeries(int seriesIndex);
    void makeToolTip(QGraphicsItem* item, QPoint pos);

private:
    void setMonthRange(const MonthRange& range);
    void takeLayout();
    void addLayerItems();
    void applyHighlight();

    QVector<Layer> layers;
    int baselineAlgo = 0;
    int sortAlgo = 0;
    int colorAlgo = 0;
    // Where the last outline given to the path helpers ended (the top layer's start).
    double penX = 0.0;
    double penY = 0.0;
    double xScale = 1.0;
    double yScale = 1.0;
    double maxTop = 2.0;
    double colorKeyMin = 0.0;
    double colorKeyMax = 0.0;
    int firstYear = 0;
    int firstMonth = 0;
    int lastYear = 0;
    int lastMonth = 1;
    ColorScheme1D colorScheme;
    GraphLayout graphLayout;
    LabelCache labelCache;
    OrderCache orderCache;
    int builds = 0;
    QVector<int> hidden;
    int highlighted = -1;
    int searches = 0;
};
