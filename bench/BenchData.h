#pragma once

#include "data/DataFileReader.h"
#include "graph/GraphSettings.h"
#include "graph/StackedGraph.h"
#include "view/StackedGraphView.h"

#include <QApplication>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QWheelEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

// Generated data sets for the benchmarks, made once by the data generator into
// $STACKEDGRAPH_BENCH_DATA (default /tmp/stackedgraph-bench); the generator is found through
// $STACKEDGRAPH_GEN_DATA or next to the repository in shared/tools.
struct BenchPreset {
    const char* name;
    int series;
    int months;
};

inline QString benchDataDirectory() {
    const QByteArray dir = qgetenv("STACKEDGRAPH_BENCH_DATA");
    return dir.isEmpty() ? QStringLiteral("/tmp/stackedgraph-bench") : QString::fromLocal8Bit(dir);
}

// The preset's data file (or, with "csv", its CSV file), generated when missing; empty when it cannot
// be made.
inline QString benchDataFile(const BenchPreset& preset, const char* format = "txt") {
    const bool csv = std::strcmp(format, "csv") == 0;
    const QByteArray generatorVariable = qgetenv("STACKEDGRAPH_GEN_DATA");
    const QString generator = generatorVariable.isEmpty()
                                  ? QStringLiteral(STACKEDGRAPH_SOURCE_DIR "/../shared/tools/gen_data.py")
                                  : QString::fromLocal8Bit(generatorVariable);
    const QString dir = benchDataDirectory();
    const QString file = dir + QLatin1Char('/') + QLatin1String(preset.name) +
                         (csv ? QStringLiteral(".csv") : QStringLiteral(".data"));
    if (QFileInfo::exists(file))
        return file;
    const QByteArray command = "mkdir -p '" + dir.toLocal8Bit() + "' && /usr/bin/python3 '" +
                               generator.toLocal8Bit() + "' --series " + QByteArray::number(preset.series) +
                               " --months " + QByteArray::number(preset.months) + " --format " + format +
                               " -o '" + file.toLocal8Bit() + ".part' && mv '" + file.toLocal8Bit() +
                               ".part' '" + file.toLocal8Bit() + "'";
    if (std::system(command.constData()) != 0)
        return QString();
    return file;
}

// The preset's data set, read once; nullptr when it cannot be had.
inline const DataSet* benchDataSet(const BenchPreset& preset) {
    static std::map<QString, std::unique_ptr<DataSet>> cache;
    const QString name = QLatin1String(preset.name);
    auto found = cache.find(name);
    if (found != cache.end())
        return found->second.get();
    const DataFileResult read = DataFileReader::readFile(benchDataFile(preset));
    std::unique_ptr<DataSet> data;
    if (read.ok() && !read.data.series.isEmpty())
        data = std::make_unique<DataSet>(read.data);
    return (cache[name] = std::move(data)).get();
}

// A scene over the data at the export's default width, built once unless asked not to.
struct BenchGraph {
    explicit BenchGraph(const DataSet& data, bool labels = true, bool build = true)
        : scene(&data.series, &data.unitText, &data.unitAfterValue, &data.magnitudeSuffixes, &parent) {
        scene.computeXRange();
        scene.rebuildEnabled = false;
        scene.labelMode = labels ? GraphSettings::LabelMode::Classic : GraphSettings::LabelMode::None;
        scene.setXRange(int(GraphSettings::defaultWidth(scene.monthSpan())));
        scene.rebuildEnabled = true;
        if (build)
            scene.makeStackedGraph();
    }
    QWidget parent;
    StackedGraph scene;
};

// Repaints the view's viewport into an image kept between repaints, as a window keeps its backing
// store; grab() would allocate a new pixmap, and take its page faults, every time.
inline void repaint(QWidget* viewport, QImage& store) {
    if (store.size() != viewport->size())
        store = QImage(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    viewport->render(&store);
    benchmark::DoNotOptimize(store.constBits());
}

// A wheel notch on the view, as the mouse sends it: one step of the zoom.
inline void turnWheel(QWidget* viewport, int notches) {
    const QPointF centre(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent event(centre, viewport->mapToGlobal(centre), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &event);
}

// A 1920 × 1080 view of the whole graph, on the raster viewport.
inline StackedGraphView* fittedView(BenchGraph& graph) {
    StackedGraphView* view = graph.scene.view;
    view->resize(1920, 1080);
    view->showWholeGraph();
    QCoreApplication::processEvents();
    return view;
}

// Skips a benchmark whose data file could not be generated.
#define REQUIRE_DATA(data)                                                                                   \
    if (!(data)) {                                                                                           \
        state.SkipWithError("could not generate the data file");                                             \
        return;                                                                                              \
    }

// Runs the benchmarks named on the command line with a widget application, on the offscreen platform
// unless another is asked for.
inline int runBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
