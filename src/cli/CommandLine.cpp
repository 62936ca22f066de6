#include "cli/CommandLine.h"

#include "cli/BatchOptions.h"
#include "cli/ProgressLine.h"
#include "data/NumberText.h"
#include "export/DataSetCsv.h"
#include "export/ImageSize.h"
#include "export/LayerLabelCsv.h"
#include "export/OutputFile.h"
#include "export/SceneExport.h"
#include "export/StackedLayoutCsv.h"
#include "export/TimeAxisFooter.h"
#include "graph/ColorScheme1D.h"
#include "graph/ColorSchemePresets.h"
#include "graph/GraphLayout.h"
#include "graph/GraphSettings.h"
#include "graph/LayerItems.h"
#include "graph/LayoutMetrics.h"
#include "graph/ValueFormatter.h"
#include "import/DataLoader.h"
#include "import/DataSetSummary.h"
#include "labels/LabelCache.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGraphicsScene>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The graph's layout and its layer items, as the window's scene holds them, for drawing it once.
class BatchScene {
public:
    BatchScene(const DataSet& data, const GraphSettings& settings, const QVector<int>& order)
        : layout(
              layOut(data, settings, GraphLayout::Carry{MonthRange::ofSeries(data.series), {}, order, {}})) {
        if (!layout.drawable)
            return;
        LabelCache labels;
        LayerItems::addTo(scene, layout, ColorScheme1D(settings.maxColor, settings.minColor), labels,
                          LayerItem::Storage::GeometryOnly);
        scene.setSceneRect(layout.sceneRect);
    }
    const GraphLayout layout;
    QGraphicsScene scene;
};

// What a first layout takes over: nothing but the time its order may take.
GraphLayout::Carry carryFor(const DataSet& data, const BatchOptions& options) {
    GraphLayout::Carry carry{MonthRange::ofSeries(data.series), {}, {}, {}};
    carry.orderBudget.seconds = options.orderSeconds;
    return carry;
}

// The order, months and height of a graph do not depend on its width: one layout without names finds them,
// and the width follows. With an exact image size and no width, the graph gets the width that gives the
// scene rectangle the frame's proportions, so that it fills the frame.
void resolveGraph(BatchOptions& options, const DataSet& data) {
    GraphSettings bands = options.graph;
    bands.labels = GraphSettings::LabelMode::None;
    const GraphLayout layout = layOut(data, bands, carryFor(data, options));
    options.order = layout.order;
    if (!options.widthGiven)
        options.graph.width = GraphSettings::defaultWidth(layout.months.span());
    const double height = layout.sceneRect.height();
    if (!options.exactSize.isValid() || options.widthGiven || !layout.drawable || !(height > 0.0) ||
        !std::isfinite(height))
        return;
    options.graph.width = std::max(1.0, height * options.exactSize.width() / options.exactSize.height());
}

// One row per baseline (or only the one given) and sorting; the smoothest pairs by each measure go to err.
QByteArray metricsCsv(const DataSet& data, const BatchOptions& options, QTextStream& err) {
    GraphSettings settings = options.graph;
    // The measures read only the bands.
    settings.labels = GraphSettings::LabelMode::None;
    QByteArray csv("baseline,sort,wiggle,weighted_wiggle\n");
    // Shares are measured in percent, values in their own units: each finds its own smoothest pairs.
    QString smoothest[2][2];
    double best[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    for (int baseline = 0; baseline < GraphSettings::baselineNames().size(); ++baseline) {
        if (options.baselineGiven && baseline != options.graph.baseline)
            continue;
        for (int sort = 0; sort < GraphSettings::sortNames().size(); ++sort) {
            settings.baseline = baseline;
            settings.sort = sort;
            const LayoutMetrics metrics = LayoutMetrics::of(layOut(data, settings, carryFor(data, options)));
            const QString pair = GraphSettings::baselineNames()[baseline] + QStringLiteral(" + ") +
                                 GraphSettings::sortNames()[sort];
            const double values[2] = {metrics.wiggle, metrics.weightedWiggle};
            for (int m = 0; m < 2; ++m) {
                const int unit = Baseline::of(baseline).shares ? 1 : 0;
                if (smoothest[unit][m].isEmpty() || values[m] < best[unit][m]) {
                    best[unit][m] = values[m];
                    smoothest[unit][m] = pair;
                }
            }
            csv += NumberText::csvField(GraphSettings::baselineNames()[baseline]) + ',' +
                   NumberText::csvField(GraphSettings::sortNames()[sort]) + ',' +
                   NumberText::shortest(metrics.wiggle) + ',' + NumberText::shortest(metrics.weightedWiggle) +
                   '\n';
        }
    }
    for (int unit = 0; unit < 2; ++unit) {
        if (smoothest[unit][0].isEmpty())
            continue;
        const char* in = unit == 1 ? " in percent" : "";
        err << "Smoothest by wiggle" << in << ": " << smoothest[unit][0] << '\n'
            << "Smoothest by weighted wiggle" << in << ": " << smoothest[unit][1] << '\n';
    }
    err.flush();
    return csv;
}

// What --hide left out, for --info: nothing when it hid nothing.
QString hiddenSummary(const DataSet& data, const QVector<int>& hidden) {
    if (hidden.isEmpty())
        return {};
    QStringList names;
    for (int s : hidden)
        names << QLatin1Char('"') + data.series[s].name + QLatin1Char('"');
    return QStringLiteral("Hidden series: %1 of %2: %3\n")
        .arg(hidden.size())
        .arg(data.series.size())
        .arg(names.join(QStringLiteral(", ")));
}

DataSet withoutHidden(const DataSet& data, const GraphSettings& settings) {
    if (settings.hidden.isEmpty())
        return data;
    DataSet shown = data;
    shown.series.clear();
    for (int s : settings.shownSeries(int(data.series.size())))
        shown.series.append(data.series[s]);
    return shown;
}

} // namespace

bool CommandLine::isBatch(int argc, char** argv) {
    return BatchOptions::namesBatch(argc, argv);
}

bool CommandLine::usesFonts(int argc, char** argv) {
    return BatchOptions::usesFonts(argc, argv);
}

int CommandLine::run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    BatchOptions::addTo(parser);
    auto usage = [&](const QString& message) {
        if (!message.isEmpty())
            err << message << '\n';
        err << parser.helpText();
        err.flush();
        return 2;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }

    QStringList chosen;
    for (const QString& mode : BatchOptions::modes())
        if (parser.isSet(mode))
            chosen << mode;
    if (chosen.size() != 1) {
        QStringList options;
        for (const QString& mode : BatchOptions::modes())
            options << QStringLiteral("--") + mode;
        return usage(QStringLiteral("Choose exactly one of %1 and %2.")
                         .arg(options.mid(0, options.size() - 1).join(QStringLiteral(", ")), options.last()));
    }
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("Give exactly one data FILE."));
    const QString mode = chosen.first();

    BatchOptions options;
    QString error;
    if (!options.read(parser, &error))
        return usage(error);
    if (mode == QLatin1String("export") && !options.sizeGiven) {
        // A picture of a screen's size that the graph fills, named as the window's "Fit Labels" names it;
        // the footer of the time axis comes out of its height.
        options.exactSize = BatchOptions::defaultPicture;
        if (options.timeAxis)
            options.exactSize.rheight() -= TimeAxisFooter::rows();
        if (!options.labelsGiven)
            options.graph.labels = GraphSettings::LabelMode::Fitted;
    }
    SceneExport::Format format = SceneExport::Format::Png;
    if (mode == QLatin1String("export")) {
        if (!SceneExport::formatOf(parser.value(mode), &format))
            return usage(QStringLiteral("--export: OUT must end in %1, or be - for PNG on standard output.")
                             .arg(SceneExport::extensions()));
        if (format == SceneExport::Format::Jpeg && options.transparent)
            return usage(QStringLiteral("--transparent: JPEG pictures have no transparency."));
    }

    const ImportResult imported = DataLoader::read(parser.positionalArguments().first(), options.import);
    const DataFileResult& result = imported.data;
    if (!result.ok()) {
        err << result.error << '\n';
        return 1;
    }
    if (!options.hideSeries(result.data, &error)) {
        err << error << '\n';
        return 2;
    }
    const bool drawn = mode.startsWith(QLatin1String("export"));
    if (drawn)
        resolveGraph(options, result.data);

    out.flush();
    const auto write = [&](const QString& target, const QByteArray& bytes) {
        if (OutputFile::write(target, bytes, &error))
            return 0;
        err << error << '\n';
        return 1;
    };
    if (mode == QLatin1String("info")) {
        out << DataSetSummary::describe(result, result.rowsRead >= 0 ? &imported.report : nullptr)
            << hiddenSummary(result.data, options.graph.hidden);
        return 0;
    }
    if (mode == QLatin1String("to-csv")) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(withoutHidden(result.data, options.graph), buffer);
        return write(QStringLiteral("-"), bytes);
    }
    if (mode == QLatin1String("metrics"))
        return write(QStringLiteral("-"), metricsCsv(result.data, options, err));

    BatchScene batch(result.data, options.graph, options.order);
    const GraphLayout& layout = batch.layout;
    const QString target = parser.value(mode);
    if (mode == QLatin1String("export-layers") || mode == QLatin1String("export-labels")) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (mode == QLatin1String("export-layers"))
            StackedLayoutCsv::write(layout, result.data.series, buffer);
        else
            LayerLabelCsv::write(layout, result.data.series, buffer);
        return write(target, bytes);
    }
    const QSize size =
        options.exactSize.isValid()
            ? options.exactSize
            : ImageSize::forChoice(options.sizeIndex, ImageSize::truncated(options.graph.width),
                                   ImageSize::truncated(layout.graphHeight));
    SceneImage::Frame frame;
    frame.transparent = options.transparent;
    frame.placement =
        options.exactSize.isValid() ? SceneImage::Placement::Centred : SceneImage::Placement::TopLeft;
    if (options.timeAxis)
        frame.footer = TimeAxisFooter::of(layout,
                                          ValueFormatter(result.data.magnitudeSuffixes, result.data.unitText,
                                                         result.data.unitAfterValue, false),
                                          size, frame.placement);
    err.flush();
    ProgressLine progress(stderr, ProgressLine::isTerminal(stderr),
                          size.height() + qMax(frame.footer.rows, 0));
    frame.progress = [&progress](double done) { progress.report(done); };
    const bool written = SceneExport::write(batch.scene, size, frame, target, &error);
    progress.finish();
    if (!written) {
        err << error << '\n';
        return 1;
    }
    return 0;
}
