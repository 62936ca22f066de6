#include "BenchData.h"
#include "data/DataFileReader.h"
#include "export/PngWriter.h"
#include "graph/StackedGraph.h"
#include "render/SceneImage.h"
#include "view/StackedGraphView.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

// The picture side of a graph: the export's render and PNG encoding, and the view's redraw while
// the width slider is dragged. Data sets are made as in the graph benchmark, into
// $STACKEDGRAPH_BENCH_DATA (default /tmp/stackedgraph-bench).
namespace {

const BenchPreset presets[] = {{"medium", 200, 240}, {"large", 2000, 600}, {"huge", 10000, 1200}};

// The export size the comparison with the matplotlib peer uses.
const QSize exportSize(3846, 1234);

// A graph built with the export's defaults. Args: preset, labels.
void BM_RenderImage(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data, state.range(1) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(SceneImage::render(graph.scene, exportSize, false, nullptr));
    state.SetLabel(std::string(presets[state.range(0)].name) + (state.range(1) != 0 ? ", labels" : ""));
}
BENCHMARK(BM_RenderImage)
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The export's PNG encoder on a rendered graph.
void BM_EncodePng(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    const QImage image = [&] {
        BenchGraph graph(*data);
        return SceneImage::render(graph.scene, exportSize, false, nullptr);
    }();
    qint64 bytes = 0;
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        PngWriter writer(buffer);
        if (!writer.begin(image.size(), false) || !writer.writeRows(image) || !writer.finish()) {
            state.SkipWithError("the PNG writer failed");
            break;
        }
        bytes = png.size();
    }
    state.counters["png_bytes"] = double(bytes);
    state.SetLabel(presets[state.range(0)].name);
}
BENCHMARK(BM_EncodePng)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// One step of a width-slider drag: a rebuild at the new width and one repaint of a 1920 × 1080
// view with the raster viewport; with the second argument 0, the repaint alone.
void BM_SliderRedraw(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data);
    StackedGraphView* view = fittedView(graph);
    const int width = int(graph.scene.xRange);
    int step = 0;
    const bool rebuild = state.range(1) != 0;
    QImage store;
    for (auto _ : state) {
        if (rebuild) {
            graph.scene.setXRange(width + (++step % 2) * width / 100);
            // What the window's event loop runs before it paints: the scene's queued polish of new items.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        }
        repaint(view->viewport(), store);
    }
    state.SetLabel(std::string(presets[state.range(0)].name) +
                   (rebuild ? ", rebuild and repaint" : ", repaint"));
}
BENCHMARK(BM_SliderRedraw)
    ->ArgsProduct({{0, 1}, {1, 0}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The repaint of a view zoomed in at its centre by some wheel notches (60: about 4400 times, past
// what Qt's rasterizer takes in one path). Args: preset, notches.
void BM_DeepZoomRepaint(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data);
    StackedGraphView* view = fittedView(graph);
    for (int notch = 0; notch < state.range(1); ++notch)
        turnWheel(view->viewport(), 1);
    QImage store;
    for (auto _ : state)
        repaint(view->viewport(), store);
    state.SetLabel(std::string(presets[state.range(0)].name) + ", " + std::to_string(state.range(1)) +
                   " notches in");
}
BENCHMARK(BM_DeepZoomRepaint)
    ->ArgsProduct({{0, 1}, {20, 40, 60}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// One wheel step and the repaint it causes, alternately in and out from a view of the whole graph, or
// from one zoomed in some notches, where the layers' outlines begin to show. Args: preset, notches.
void BM_WheelStep(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data);
    StackedGraphView* view = fittedView(graph);
    for (int notch = 0; notch < state.range(1); ++notch)
        turnWheel(view->viewport(), 1);
    int step = 0;
    QImage store;
    for (auto _ : state) {
        turnWheel(view->viewport(), ++step % 2 == 1 ? 1 : -1);
        repaint(view->viewport(), store);
    }
    state.SetLabel(std::string(presets[state.range(0)].name) + ", " + std::to_string(state.range(1)) +
                   " notches in, one notch and repaint");
}
BENCHMARK(BM_WheelStep)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({1, 5})
    ->Args({2, 5})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void sendMouse(QWidget* viewport, QEvent::Type type, const QPointF& at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

// One step of a drag with the hand, 40 pixels left or right on a view zoomed in five notches, and the
// repaint the window then makes: the view moves what it had and paints only the strip uncovered.
void BM_PanStep(benchmark::State& state) {
    const DataSet* data = benchDataSet(presets[state.range(0)]);
    REQUIRE_DATA(data);
    BenchGraph graph(*data);
    StackedGraphView* view = fittedView(graph);
    graph.parent.resize(view->size());
    graph.parent.show();
    for (int notch = 0; notch < 5; ++notch)
        turnWheel(view->viewport(), 1);
    QCoreApplication::processEvents();
    QWidget* viewport = view->viewport();
    QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    sendMouse(viewport, QEvent::MouseButtonPress, at);
    int step = 0;
    for (auto _ : state) {
        at.rx() += ++step % 2 == 1 ? 40.0 : -40.0;
        sendMouse(viewport, QEvent::MouseMove, at);
        QCoreApplication::processEvents();
    }
    sendMouse(viewport, QEvent::MouseButtonRelease, at);
    graph.parent.hide();
    state.SetLabel(std::string(presets[state.range(0)].name) + ", 40 pixels and repaint");
}
BENCHMARK(BM_PanStep)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks(argc, argv);
}
