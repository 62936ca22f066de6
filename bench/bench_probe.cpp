#include "BenchData.h"
#include "graph/StackedGraph.h"
#include "view/StackedGraphView.h"
#include "widgets/GraphProbe.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStatusBar>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

// Asking the graph: the readout of one pointer move, a highlight's repaint against a plain repaint, and
// hiding a series against a rebuild. Large data (2000 layers, 600 months) in a 1920 x 1080 view.
namespace {

const BenchPreset large{"large", 2000, 600};

// The large graph in a 1920 x 1080 raster view, fitted and then zoomed in by some wheel notches at
// the view's centre.
struct ViewedGraph {
    explicit ViewedGraph(const DataSet& data, int notches)
        : graph(data)
        , view(fittedView(graph)) {
        for (int notch = 0; notch < notches; ++notch)
            turnWheel(view->viewport(), 1);
    }
    void repaint() { ::repaint(view->viewport(), store); }
    BenchGraph graph;
    StackedGraphView* view = nullptr;
    QImage store;
};

// One pointer move over the view: the move event, finding the layer and month on the curved edges,
// the readout's text through the graph's formatter, and the status bar's message. Arg: wheel notches.
void BM_ReadoutMove(benchmark::State& state) {
    const DataSet* data = benchDataSet(large);
    REQUIRE_DATA(data);
    ViewedGraph viewed(*data, int(state.range(0)));
    GraphProbe probe(&viewed.graph.scene);
    probe.setActive(true);
    QStatusBar status;
    QObject::connect(&probe, &GraphProbe::readoutChanged, &status,
                     [&status](const QString& text) { status.showMessage(text); });
    QWidget* viewport = viewed.view->viewport();
    int step = 0;
    for (auto _ : state) {
        // Across the view and back, a pixel at a time in a zigzag through the stack.
        ++step;
        const QPointF at(100 + (step * 7) % 1700, 200 + (step * 13) % 700);
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
    }
    benchmark::DoNotOptimize(status.currentMessage());
    state.SetLabel("large, " + std::to_string(state.range(0)) + " notches in");
}
BENCHMARK(BM_ReadoutMove)->Arg(0)->Arg(30)->Unit(benchmark::kMicrosecond);

// A repaint of the view: plain (0), after a highlight is set or cleared, alternately (1), or of a graph
// that stays highlighted (2). Args: mode, wheel notches.
void BM_HighlightRepaint(benchmark::State& state) {
    const DataSet* data = benchDataSet(large);
    REQUIRE_DATA(data);
    ViewedGraph viewed(*data, int(state.range(1)));
    const int mode = int(state.range(0));
    const int series = viewed.graph.scene.stackingOrder().at(1000).seriesIndex;
    if (mode == 2)
        viewed.graph.scene.setHighlightedSeries(series);
    int step = 0;
    for (auto _ : state) {
        if (mode == 1) {
            viewed.graph.scene.setHighlightedSeries(++step % 2 == 1 ? series : -1);
            QCoreApplication::processEvents();
        }
        viewed.repaint();
    }
    const char* what[] = {"repaint", "highlight or clear, and repaint", "repaint highlighted"};
    state.SetLabel(std::string("large, ") + what[mode] + ", " + std::to_string(state.range(1)) +
                   " notches in");
}
BENCHMARK(BM_HighlightRepaint)->ArgsProduct({{0, 1, 2}, {0, 30}})->Unit(benchmark::kMillisecond);

// Hiding one series and showing it again (1), each a rebuild, against a rebuild at another width (0).
void BM_HideSeries(benchmark::State& state) {
    const DataSet* data = benchDataSet(large);
    REQUIRE_DATA(data);
    BenchGraph graph(*data);
    const bool hide = state.range(0) != 0;
    const int width = int(graph.scene.xRange);
    int step = 0;
    for (auto _ : state) {
        ++step;
        if (hide)
            graph.scene.setHiddenSeries(step % 2 == 1 ? QVector<int>{7} : QVector<int>{});
        else
            graph.scene.setXRange(width + (step % 2) * width / 100);
    }
    state.SetLabel(hide ? "large, hide or show one series" : "large, rebuild at another width");
}
BENCHMARK(BM_HideSeries)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return runBenchmarks(argc, argv);
}
