#include "graph/GraphLayout.h"

#include "data/SeriesPlacement.h"
#include "graph/GraphScales.h"
#include "graph/LayerLabel.h"
#include "graph/LayerStacking.h"
#include "graph/baseline/Baseline.h"
#include "graph/order/LayerOrdering.h"
#include "labels/FittedLabel.h"

#include <cmath>
#include <optional>

namespace {

// A known order of series indexes as positions among the shown series; empty when it does not order
// exactly the shown ones.
QVector<int> positionsOf(const QVector<int>& known, const QVector<int>& shown, int count) {
    if (known.size() != shown.size())
        return {};
    QVector<int> position(count, -1);
    for (int p = 0; p < shown.size(); ++p)
        position[shown[p]] = p;
    QVector<int> order;
    order.reserve(known.size());
    for (int s : known) {
        if (s < 0 || s >= count || position[s] < 0)
            return {};
        order.append(position[s]);
        position[s] = -1;
    }
    return order;
}

// The layout over the data's months, which the caller has found.
GraphLayout layOutOver(const MonthRange& months, const DataSet& data, const GraphSettings& settings,
                       const GraphLayout::Carry& carry) {
    GraphLayout layout;
    layout.coloring = GraphSettings::coloringKind(settings.coloring);
    layout.keyMonths = carry.keyMonths;
    layout.keys = ColorKeys::range(layout.coloring, data.series, carry.keyMonths, carry.keys);
    if (data.series.isEmpty())
        return layout;
    layout.hasSeries = true;
    layout.months = months;
    if (!layout.months.drawable())
        return layout;
    const int span = int(layout.months.span());
    layout.xScale = GraphScales::xScale(settings.width, layout.months);
    // Only the shown series are ordered, scaled and stacked; order holds their positions among them.
    const QVector<int> shown = settings.shownSeries(int(data.series.size()));
    const QVector<SeriesPlacement> all = SeriesPlacement::of(data.series, layout.months);
    QVector<SeriesPlacement> placements;
    placements.reserve(shown.size());
    for (int s : shown)
        placements.append(all[s]);
    const QVector<double> totals = GraphScales::totals(placements, span);
    const Baseline::Entry& baseline = Baseline::of(settings.baseline);
    // A baseline of shares stacks them in place of the values, for everything from the order on.
    QVector<DataPoint> shares;
    if (baseline.shares) {
        placements = Baseline::shares(placements, span, &shares);
        layout.shares = true;
    }
    QVector<int> order = positionsOf(carry.order, shown, int(all.size()));
    if (order.isEmpty() && !shown.isEmpty())
        order = LayerOrdering::of(settings.sort)
                    .order(LayerOrdering::Input{placements, span, settings.baseline, carry.orderBudget});
    layout.order.reserve(order.size());
    for (int p : order)
        layout.order.append(shown[p]);

    for (double total : totals) {
        // Such a stack has no finite scene coordinates.
        if (!std::isfinite(total))
            return layout;
    }
    layout.yScale = GraphScales::yScale(
        GraphScales::typicalTotal(baseline.shares ? GraphScales::totals(placements, span) : totals));
    layout.baseline = baseline.compute(order, placements, span);
    layout.lowestBaseline = Baseline::lowest(layout.baseline);

    LayerStacking stacking = LayerStacking::stack(order, placements, layout.baseline);
    // Fonts are measured only for fitted labels: the others need no GUI application.
    layout.labelMode = settings.labels;
    std::optional<LabelFont> font;
    if (settings.labels == GraphSettings::LabelMode::Fitted)
        font.emplace();
    const FittedLabel::Measure measure = [&font](const QString& text) { return font->size(text); };
    layout.layers.reserve(order.size());
    for (int i = 0; i < order.size(); ++i) {
        const int s = layout.order[i];
        const SeriesPlacement& placement = placements[order[i]];
        LayerLayout layer;
        layer.seriesIndex = s;
        layer.band = BandGeometry::of(placement, stacking.bottoms[i], layout.xScale, layout.yScale);
        const QString& name = data.series[s].name;
        if (placement.count > 0 && settings.labels == GraphSettings::LabelMode::Classic)
            layer.label = LayerLabel::drawn(LayerLabel::place(placement, stacking.bottoms[i]), name,
                                            layout.xScale, layout.yScale);
        else if (placement.count > 0 && settings.labels == GraphSettings::LabelMode::Fitted)
            layer.label = FittedLabel::place(layer.band, name, LayerLabel::text(name), measure);
        const double key = ColorKeys::key(layout.coloring, data.series[s], layout.months);
        layer.colorPosition = ColorKeys::position(key, layout.keys);
        layout.layers.append(std::move(layer));
    }
    layout.maxTop = LayerStacking::maxTop(stacking.top);
    layout.graphHeight = LayerStacking::graphHeight(layout.maxTop, layout.lowestBaseline, layout.yScale);
    // 1.01 times the stack's height, both ends scaled about y = 0.
    layout.sceneRect =
        QRectF(0.0, -1.01 * layout.maxTop * layout.yScale, settings.width, 1.01 * layout.graphHeight);
    layout.drawable = true;
    return layout;
}

} // namespace

GraphLayout layOut(const DataSet& data, const GraphSettings& settings, const GraphLayout::Carry& carry) {
    return layOutOver(MonthRange::ofSeries(data.series), data, settings, carry);
}

GraphLayout layOut(const DataSet& data, const GraphSettings& settings) {
    const MonthRange months = MonthRange::ofSeries(data.series);
    return layOutOver(months, data, settings, GraphLayout::Carry{months, {}, {}, {}});
}
