#include "cli/CommandLine.h"

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

// The batch modes, one of which a run chooses: option, what its value is (none: no value), what it does.
struct Mode {
    const char* name;
    const char* value;
    const char* description;
};
const Mode modeTable[] = {
    {"info", nullptr, "Print a summary of what FILE holds."},
    {"to-csv", nullptr, "Write FILE's normalised series as CSV to standard output."},
    {"export", "OUT",
     "Render the graph of FILE into OUT, by its extension a PNG, JPEG (.jpg, .jpeg), SVG or PDF picture (- "
     "for "
     "PNG on standard output)."},
    {"export-layers", "OUT", "Write the stacked layout of FILE as CSV to OUT (- for standard output)."},
    {"export-labels", "OUT",
     "Write the labels drawn in the graph of FILE as CSV to OUT (- for standard output): text, pixel size "
     "and "
     "text box in scene units."},
    {"metrics", nullptr,
     "Print how smooth each baseline and sorting lays FILE out, as CSV; the smoothest pairs go to standard "
     "error."},
};
// The picture --export makes without a size.
const QSize defaultPicture(1920, 1080);

// Options that run without a window too.
const char* const otherBatchOptions[] = {"--help", "-h", "--help-all", "--version", "-v"};

QStringList modes() {
    QStringList names;
    for (const Mode& mode : modeTable)
        names << QLatin1String(mode.name);
    return names;
}

QStringList schemeNames() {
    QStringList names;
    for (const ColorSchemePreset& preset : colorSchemePresets())
        names << preset.name;
    return names;
}

// The settings of a graph and of its image, as the options give them.
struct BatchOptions {
    GraphSettings graph;
    bool widthGiven = false;
    // Neither --size nor --image-size: the picture that opens anywhere.
    bool sizeGiven = false;
    bool labelsGiven = false;
    int sizeIndex = ImageSize::defaultChoice;
    QSize exactSize;
    bool transparent = false;
    bool timeAxis = false;
    // The stacking order, once a layout has found it: it does not depend on the width.
    QVector<int> order;
};

void addOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Draws stacked graphs of monthly time series. Without options it opens the window, "
                       "with FILE loaded if given."));
    parser.addHelpOption();
    parser.addVersionOption();
    const auto names = [](const QStringList& list, int defaultCode) {
        QStringList quoted;
        for (int i = 0; i < list.size(); ++i) {
            const QString name =
                list[i].contains(QLatin1Char(' ')) ? QLatin1Char('"') + list[i] + QLatin1Char('"') : list[i];
            quoted << (i == defaultCode ? name + QStringLiteral(" (default)") : name);
        }
        return quoted.join(QStringLiteral(", ")) + QLatin1Char('.');
    };
    for (const Mode& mode : modeTable)
        parser.addOption(mode.value
                             ? QCommandLineOption(QLatin1String(mode.name), QLatin1String(mode.description),
                                                  QLatin1String(mode.value))
                             : QCommandLineOption(QLatin1String(mode.name), QLatin1String(mode.description)));
    parser.addOptions({
        {QStringLiteral("baseline"), names(GraphSettings::baselineNames(), GraphSettings::defaultBaseline),
         QStringLiteral("NAME")},
        {QStringLiteral("sort"), names(GraphSettings::sortNames(), GraphSettings::defaultSort),
         QStringLiteral("NAME")},
        {QStringLiteral("coloring"), names(GraphSettings::coloringNames(), GraphSettings::defaultColoring),
         QStringLiteral("NAME")},
        {QStringLiteral("labels"),
         QStringLiteral("How layers are named: ") +
             names(GraphSettings::labelModeNames(), int(GraphSettings::LabelMode::Classic)) +
             QStringLiteral(" fitted: at the largest size each band holds, the default of --export without "
                            "--size or --image-size."),
         QStringLiteral("NAME")},
        {QStringLiteral("scheme"),
         QStringLiteral("Colour preset: ") + names(schemeNames(), GraphSettings::defaultScheme - 1),
         QStringLiteral("NAME")},
        {QStringLiteral("max-color"), QStringLiteral("Colour of the largest colour key, as #rrggbb."),
         QStringLiteral("COLOR")},
        {QStringLiteral("min-color"), QStringLiteral("Colour of the smallest colour key, as #rrggbb."),
         QStringLiteral("COLOR")},
        {QStringLiteral("width"),
         QStringLiteral("Graph width in scene units (default %1 a month).").arg(GraphSettings::unitsPerMonth),
         QStringLiteral("N")},
        {QStringLiteral("size"),
         QStringLiteral(
             "Image size choice 0..4 of the window's export: a quarter, half, one, two or four image "
             "pixels a scene unit. Without --size or --image-size, --export makes a %1x%2 picture "
             "that the graph fills.")
             .arg(defaultPicture.width())
             .arg(defaultPicture.height()),
         QStringLiteral("INDEX")},
        {QStringLiteral("image-size"),
         QStringLiteral(
             "Exact image size instead of --size, e.g. 1920x1080. Without --width the graph gets the "
             "width that makes it fill the image; with --width it is centred in the image."),
         QStringLiteral("WxH")},
        {QStringLiteral("transparent"), QStringLiteral("Transparent instead of white background.")},
        {QStringLiteral("time-axis"),
         QStringLiteral("Add rows below the graph with a time axis and a thickness scale.")},
    });
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A data file, or a CSV or TSV file (named *.csv or *.tsv)."));
}

bool parseSettings(const QCommandLineParser& parser, BatchOptions& settings, QString* error) {
    auto pick = [&](const QString& option, const QStringList& names, int& target) {
        if (!parser.isSet(option))
            return true;
        target = names.indexOf(parser.value(option));
        if (target < 0) {
            *error = QStringLiteral("--%1 must be one of: %2").arg(option, names.join(QStringLiteral(", ")));
            return false;
        }
        return true;
    };
    GraphSettings& graph = settings.graph;
    if (!pick(QStringLiteral("baseline"), GraphSettings::baselineNames(), graph.baseline) ||
        !pick(QStringLiteral("sort"), GraphSettings::sortNames(), graph.sort) ||
        !pick(QStringLiteral("coloring"), GraphSettings::coloringNames(), graph.coloring))
        return false;
    int labels = int(graph.labels);
    if (!pick(QStringLiteral("labels"), GraphSettings::labelModeNames(), labels))
        return false;
    graph.labels = GraphSettings::LabelMode(labels);
    settings.labelsGiven = parser.isSet(QStringLiteral("labels"));

    // Without --scheme the colours stay the start colours of the settings.
    if (parser.isSet(QStringLiteral("scheme"))) {
        const int preset = colorSchemePresetIndex(parser.value(QStringLiteral("scheme")));
        if (preset < 0) {
            *error =
                QStringLiteral("--scheme must be one of: %1").arg(schemeNames().join(QStringLiteral(", ")));
            return false;
        }
        graph.maxColor = colorSchemePresets()[preset].maxColor;
        graph.minColor = colorSchemePresets()[preset].minColor;
    }
    for (const auto& [option, target] :
         {std::pair<QString, QColor*>(QStringLiteral("max-color"), &graph.maxColor),
          std::pair<QString, QColor*>(QStringLiteral("min-color"), &graph.minColor)}) {
        if (!parser.isSet(option))
            continue;
        const QColor color = QColor::fromString(parser.value(option));
        if (!color.isValid()) {
            *error = QStringLiteral("--%1: not a colour: %2").arg(option, parser.value(option));
            return false;
        }
        *target = color;
    }
    if (parser.isSet(QStringLiteral("width"))) {
        // Written as a whole number or in exponent form (1e6); always a whole number the slider could hold.
        bool ok = false;
        const double width = parser.value(QStringLiteral("width")).toDouble(&ok);
        if (!ok || !(width >= 1.0 && width <= double(std::numeric_limits<int>::max())) ||
            width != std::floor(width)) {
            *error = QStringLiteral("--width must be a whole number of scene units from 1 to %1, not %2")
                         .arg(std::numeric_limits<int>::max())
                         .arg(parser.value(QStringLiteral("width")));
            return false;
        }
        graph.width = width;
        settings.widthGiven = true;
    }
    if (parser.isSet(QStringLiteral("size"))) {
        bool ok = false;
        settings.sizeIndex = parser.value(QStringLiteral("size")).toInt(&ok);
        if (!ok || settings.sizeIndex < 0 || settings.sizeIndex >= ImageSize::choiceCount) {
            *error = QStringLiteral("--size must be 0, 1, 2, 3 or 4");
            return false;
        }
        settings.sizeGiven = true;
    }
    if (parser.isSet(QStringLiteral("image-size"))) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
        const QRegularExpressionMatch match = pattern.match(parser.value(QStringLiteral("image-size")));
        if (!match.hasMatch() || match.captured(1).toInt() < 1 || match.captured(2).toInt() < 1) {
            *error = QStringLiteral("--image-size must be WIDTHxHEIGHT in pixels, e.g. 1920x1080");
            return false;
        }
        settings.exactSize = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        settings.sizeGiven = true;
    }
    settings.transparent = parser.isSet(QStringLiteral("transparent"));
    settings.timeAxis = parser.isSet(QStringLiteral("time-axis"));
    return true;
}

// The graph's layout and its layer items, as the window's scene holds them, for drawing it once.
class BatchScene {
public:
    BatchScene(const DataSet& data, const GraphSettings& settings, const QVector<int>& order)
        : layout(layOut(data, settings, GraphLayout::Carry{MonthRange::ofSeries(data.series), {}, order})) {
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

// The order, months and height of a graph do not depend on its width: one layout without names finds them,
// and the width follows. With an exact image size and no width, the graph gets the width that gives the
// scene rectangle the frame's proportions, so that it fills the frame.
void resolveGraph(BatchOptions& options, const DataSet& data) {
    GraphSettings bands = options.graph;
    bands.labels = GraphSettings::LabelMode::None;
    const GraphLayout layout = layOut(data, bands);
    options.order = layout.order;
    if (!options.widthGiven)
        options.graph.width = GraphSettings::defaultWidth(layout.months.span());
    const double height = layout.sceneRect.height();
    if (!options.exactSize.isValid() || options.widthGiven || !layout.drawable || !(height > 0.0) ||
        !std::isfinite(height))
        return;
    options.graph.width = std::max(1.0, height * options.exactSize.width() / options.exactSize.height());
}

// One row per baseline and sorting; the smoothest pairs by each measure go to err.
QByteArray metricsCsv(const DataSet& data, GraphSettings settings, QTextStream& err) {
    // The measures read only the bands.
    settings.labels = GraphSettings::LabelMode::None;
    QByteArray csv("baseline,sort,wiggle,weighted_wiggle\n");
    QString smoothest[2];
    double best[2] = {0.0, 0.0};
    for (int baseline = 0; baseline < GraphSettings::baselineNames().size(); ++baseline) {
        for (int sort = 0; sort < GraphSettings::sortNames().size(); ++sort) {
            settings.baseline = baseline;
            settings.sort = sort;
            const LayoutMetrics metrics = LayoutMetrics::of(layOut(data, settings));
            const QString pair = GraphSettings::baselineNames()[baseline] + QStringLiteral(" + ") +
                                 GraphSettings::sortNames()[sort];
            const double values[2] = {metrics.wiggle, metrics.weightedWiggle};
            for (int m = 0; m < 2; ++m) {
                if (smoothest[m].isEmpty() || values[m] < best[m]) {
                    best[m] = values[m];
                    smoothest[m] = pair;
                }
            }
            csv += NumberText::csvField(GraphSettings::baselineNames()[baseline]) + ',' +
                   NumberText::csvField(GraphSettings::sortNames()[sort]) + ',' +
                   NumberText::shortest(metrics.wiggle) + ',' + NumberText::shortest(metrics.weightedWiggle) +
                   '\n';
        }
    }
    err << "Smoothest by wiggle: " << smoothest[0] << '\n'
        << "Smoothest by weighted wiggle: " << smoothest[1] << '\n';
    err.flush();
    return csv;
}

} // namespace

bool CommandLine::isBatch(int argc, char** argv) {
    const auto names = [](const char* argument, const char* option) {
        const size_t length = std::strlen(option);
        return std::strncmp(argument, option, length) == 0 &&
               (argument[length] == 0 || argument[length] == '=');
    };
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0)
            for (const Mode& mode : modeTable)
                if (names(argv[i] + 2, mode.name))
                    return true;
        for (const char* option : otherBatchOptions)
            if (names(argv[i], option))
                return true;
    }
    return false;
}

int CommandLine::run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    addOptions(parser);
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
    for (const QString& mode : modes())
        if (parser.isSet(mode))
            chosen << mode;
    if (chosen.size() != 1) {
        QStringList options;
        for (const QString& mode : modes())
            options << QStringLiteral("--") + mode;
        return usage(QStringLiteral("Choose exactly one of %1 and %2.")
                         .arg(options.mid(0, options.size() - 1).join(QStringLiteral(", ")), options.last()));
    }
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("Give exactly one data FILE."));
    const QString mode = chosen.first();

    BatchOptions options;
    QString error;
    if (!parseSettings(parser, options, &error))
        return usage(error);
    if (mode == QLatin1String("export") && !options.sizeGiven) {
        // A picture of a screen's size that the graph fills, named as the window's "Fit Labels" names it;
        // the footer of the time axis comes out of its height.
        options.exactSize = defaultPicture;
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

    const DataFileResult result = DataLoader::readFile(parser.positionalArguments().first());
    if (!result.ok()) {
        err << result.error << '\n';
        return 1;
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
        out << DataSetSummary::describe(result);
        return 0;
    }
    if (mode == QLatin1String("to-csv")) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(result.data, buffer);
        return write(QStringLiteral("-"), bytes);
    }
    if (mode == QLatin1String("metrics"))
        return write(QStringLiteral("-"), metricsCsv(result.data, options.graph, err));

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
