#include "BenchData.h"
#include "band/LayerOutline.h"
#include "data/DataFileReader.h"
#include "graph/GraphLayout.h"
#include "graph/GraphScales.h"
#include "graph/GraphSettings.h"
#include "graph/LayerLabel.h"
#include "graph/LayerStacking.h"
#include "graph/StackedGraph.h"
#include "graph/baseline/Baseline.h"
#include "graph/order/LayerOrdering.h"
#include "graph/order/OrderSearch.h"
#include "labels/FittedLabel.h"
#include "labels/LabelCache.h"

#include <QApplication>
#include <QFileInfo>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace {

const BenchPreset presets[] = {{"medium", 200, 240}, {"large", 2000, 600}, {"huge", 10000, 1200}};

// The plain inputs of the build steps, as one build of the scene would have them.
struct Steps {
    explicit Steps(const DataSet& data)
        : range(MonthRange::ofSeries(data.series))
        , span(int(range.span()))
        , placements(SeriesPlacement::of(data.series, range))
        , order(LayerOrdering::insideOut(placements, span))
        , baseline(Baseline::symmetric(order, placements, span))
        , stack(LayerStacking::stack(order, placements, baseline))
        , yScale(GraphScales::yScale(GraphScales::typicalTotal(GraphScales::totals(placements, span)))) {}
    MonthRange range;
    int span;
    QVector<SeriesPlacement> placements;
    QVector<int> order;
    QVector<double> baseline;
    LayerStacking stack;
    double yScale;
};

// Args: preset, baseline, ordering, labels.
void BM_MakeStackedGraph(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data, true, false);
    graph.scene.rebuildEnabled = false;
    graph.scene.setBaselineAlgo(int(state.range(1)));
    graph.scene.setSortAlgo(int(state.range(2)));
    graph.scene.labelMode =
        state.range(3) != 0 ? GraphSettings::LabelMode::Classic : GraphSettings::LabelMode::None;
    graph.scene.rebuildEnabled = true;
    for (auto _ : state) {
        graph.scene.makeStackedGraph();
        benchmark::DoNotOptimize(graph.scene.sceneRect());
    }
    state.SetLabel(presets[state.range(0)].name);
}

void buildArguments(benchmark::internal::Benchmark* b) {
    for (int preset = 0; preset < 2; ++preset) {
        for (int labels = 0; labels < 2; ++labels) {
            for (int baseline = 0; baseline < 3; ++baseline)
                b->Args({preset, baseline, 0, labels});
            for (int sort = 1; sort < 3; ++sort)
                b->Args({preset, 1, sort, labels});
        }
    }
}
BENCHMARK(BM_MakeStackedGraph)->Apply(buildArguments)->Unit(benchmark::kMillisecond);

// A build at the default settings with each way of naming layers. Args: preset, label mode.
void BM_BuildWithLabels(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data, true, false);
    const auto mode = GraphSettings::LabelMode(state.range(1));
    graph.scene.rebuildEnabled = false;
    graph.scene.setBaselineAlgo(GraphSettings::defaultBaseline);
    graph.scene.setSortAlgo(GraphSettings::defaultSort);
    graph.scene.labelMode = mode;
    graph.scene.rebuildEnabled = true;
    for (auto _ : state) {
        graph.scene.makeStackedGraph();
        benchmark::DoNotOptimize(graph.scene.sceneRect());
    }
    state.SetLabel(std::string(presets[state.range(0)].name) + ", " +
                   GraphSettings::labelModeNames()[int(mode)].toStdString());
}
BENCHMARK(BM_BuildWithLabels)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// The whole layout without a scene. Args: preset, baseline, ordering.
void BM_LayOut(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    GraphSettings settings;
    settings.baseline = int(state.range(1));
    settings.sort = int(state.range(2));
    settings.width = GraphSettings::defaultWidth(MonthRange::ofSeries(data->series).span());
    for (auto _ : state)
        benchmark::DoNotOptimize(layOut(*data, settings));
    state.SetLabel(presets[state.range(0)].name);
}
BENCHMARK(BM_LayOut)->ArgsProduct({{0, 1}, {1, 2}, {1, 2}})->Unit(benchmark::kMillisecond);

void BM_Ordering(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    const LayerOrdering::Function order = LayerOrdering::of(int(state.range(1))).order;
    for (auto _ : state)
        benchmark::DoNotOptimize(order({steps.placements, steps.span, 0, {}}));
}
BENCHMARK(BM_Ordering)->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

// Args: preset (medium, large), baseline. The searched order under the window's time budget, on one
// thread; the counters give its weighted wiggle as a share of the best specified ordering's and whether
// the budget ran out.
void BM_OptimizedOrder(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    LayerOrdering::Input input{steps.placements, steps.span, int(state.range(1)), {}};
    OrderSearch::Result result;
    for (auto _ : state)
        benchmark::DoNotOptimize(result = OrderSearch::run(input));
    state.counters["of_specified"] = result.wiggle / result.specified;
    state.counters["capped"] = result.capped ? 1.0 : 0.0;
    state.SetLabel(presets[state.range(0)].name);
}
BENCHMARK(BM_OptimizedOrder)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Baseline(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    const Baseline::Function baseline = Baseline::of(int(state.range(1))).compute;
    for (auto _ : state)
        benchmark::DoNotOptimize(baseline(steps.order, steps.placements, steps.span));
}
BENCHMARK(BM_Baseline)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

void BM_ScalesAndStacking(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    for (auto _ : state) {
        const QVector<SeriesPlacement> placements = SeriesPlacement::of(data->series, steps.range);
        const QVector<double> totals = GraphScales::totals(placements, steps.span);
        benchmark::DoNotOptimize(GraphScales::yScale(GraphScales::typicalTotal(totals)));
        benchmark::DoNotOptimize(LayerStacking::stack(steps.order, placements, steps.baseline));
    }
}
BENCHMARK(BM_ScalesAndStacking)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Outlines(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    for (auto _ : state) {
        for (int i = 0; i < steps.order.size(); ++i)
            benchmark::DoNotOptimize(
                LayerOutline::band(BandGeometry::of(steps.placements[steps.order[i]], steps.stack.bottoms[i],
                                                    GraphSettings::unitsPerMonth, 1.0))
                    .path);
    }
}
BENCHMARK(BM_Outlines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Labels(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    for (auto _ : state) {
        for (int i = 0; i < steps.order.size(); ++i) {
            const int s = steps.order[i];
            benchmark::DoNotOptimize(LabelCache::plainOutlines(
                LayerLabel::drawn(LayerLabel::place(steps.placements[s], steps.stack.bottoms[i]),
                                  data->series[s].name, GraphSettings::unitsPerMonth, steps.yScale)));
        }
    }
}
BENCHMARK(BM_Labels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Fitting every layer's name into its band, without drawing it.
void BM_FittedLabels(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    QVector<BandGeometry> bands;
    for (int i = 0; i < steps.order.size(); ++i)
        bands.append(BandGeometry::of(steps.placements[steps.order[i]], steps.stack.bottoms[i],
                                      GraphSettings::unitsPerMonth, steps.yScale));
    const LabelFont font;
    const FittedLabel::Measure measure = [&font](const QString& text) { return font.size(text); };
    for (auto _ : state) {
        for (int i = 0; i < steps.order.size(); ++i)
            benchmark::DoNotOptimize(FittedLabel::place(bands[i], data->series[steps.order[i]].name,
                                                        LayerLabel::text(data->series[steps.order[i]].name),
                                                        measure));
    }
}
BENCHMARK(BM_FittedLabels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A rebuild as the user sees it: the build, the scene's deferred index update, one paint.
// Args: preset, index (0 none, 1 the scene's default BSP tree).
void BM_BuildAndPaint(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data, true, false);
    graph.scene.rebuildEnabled = false;
    graph.scene.setBaselineAlgo(1);
    graph.scene.setSortAlgo(2);
    graph.scene.rebuildEnabled = true;
    if (state.range(1) == 0)
        graph.scene.setItemIndexMethod(QGraphicsScene::NoIndex);
    QImage image(1600, 800, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        graph.scene.makeStackedGraph();
        QCoreApplication::processEvents();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        graph.scene.render(&painter, QRectF(image.rect()), graph.scene.sceneRect());
    }
    state.SetLabel(state.range(1) == 0 ? "no index" : "BSP index");
}
BENCHMARK(BM_BuildAndPaint)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// The items of a built graph go into a scene with or without its spatial index.
void BM_AddItems(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const Steps steps(*data);
    QVector<QPainterPath> paths;
    for (int i = 0; i < steps.order.size(); ++i)
        paths.append(
            LayerOutline::band(BandGeometry::of(steps.placements[steps.order[i]], steps.stack.bottoms[i],
                                                GraphSettings::unitsPerMonth, 1.0))
                .path);
    QGraphicsScene scene;
    if (state.range(1) == 0)
        scene.setItemIndexMethod(QGraphicsScene::NoIndex);
    for (auto _ : state) {
        scene.clear();
        for (const QPainterPath& path : paths)
            scene.addPath(path, QPen(Qt::black), QBrush(Qt::gray));
        benchmark::DoNotOptimize(scene.itemsBoundingRect());
    }
    state.SetLabel(state.range(1) == 0 ? "no index" : "BSP index");
}
BENCHMARK(BM_AddItems)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks(argc, argv);
}
