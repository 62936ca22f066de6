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
    QVector<SeriesPlacement> placements = SeriesPlacement::of(data.series, layout.months);
    const QVector<double> totals = GraphScales::totals(placements, span);
    const Baseline::Entry& baseline = Baseline::of(settings.baseline);
    // A baseline of shares stacks them in place of the values, for everything from the order on.
    QVector<DataPoint> shares;
    if (baseline.shares) {
        placements = Baseline::shares(placements, span, &shares);
        layout.shares = true;
    }
    layout.order =
        carry.order.size() == placements.size()
            ? carry.order
            : LayerOrdering::of(settings.sort)
                  .order(LayerOrdering::Input{placements, span, settings.baseline, carry.orderBudget});

    for (double total : totals) {
        // Such a stack has no finite scene coordinates.
        if (!std::isfinite(total))
            return layout;
    }
    layout.yScale = GraphScales::yScale(
        GraphScales::typicalTotal(baseline.shares ? GraphScales::totals(placements, span) : totals));
    layout.baseline = baseline.compute(layout.order, placements, span);
    layout.lowestBaseline = Baseline::lowest(layout.baseline);

    LayerStacking stacking = LayerStacking::stack(layout.order, placements, layout.baseline);
    // Fonts are measured only for fitted labels: the others need no GUI application.
    layout.labelMode = settings.labels;
    std::optional<LabelFont> font;
    if (settings.labels == GraphSettings::LabelMode::Fitted)
        font.emplace();
    const FittedLabel::Measure measure = [&font](const QString& text) { return font->size(text); };
    layout.layers.reserve(layout.order.size());
    for (int i = 0; i < layout.order.size(); ++i) {
        const int s = layout.order[i];
        const SeriesPlacement& placement = placements[s];
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
