#include "app/CommandLine.h"

#include "data/DataFileReader.h"
#include "data/DataSetCsv.h"
#include "data/DataSetSummary.h"
#include "graph/ColorSchemePresets.h"
#include "graph/SceneImage.h"
#include "graph/StackedGraph.h"
#include "graph/StackedLayoutCsv.h"
#include "view/StackedGraphView.h"
#include "widgets/ImageSize.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <cstring>
#include <memory>

namespace {

const char* const batchOptions[] = {"--info",     "--to-csv",  "--export", "--export-layers", "--help", "-h",
                                    "--help-all", "--version", "-v"};

struct ExportSettings {
    int baseline = 2;
    int sort = 2;
    int coloring = 4;
    QColor maxColor;
    QColor minColor;
    double width = -1.0; // scene units; negative: 320 a month
    int sizeIndex = 2;
    QSize exactSize;
    bool transparent = false;
};

const QStringList baselineNames = {QStringLiteral("x-axis"), QStringLiteral("symmetric"),
                                   QStringLiteral("baseline")};
const QStringList sortNames = {QStringLiteral("onset-time"), QStringLiteral("inside-out"),
                               QStringLiteral("weighted")};
const QStringList coloringNames = {QStringLiteral("first onset"), QStringLiteral("last offset"),
                                   QStringLiteral("max quant"), QStringLiteral("avrg quant"),
                                   QStringLiteral("sum quant")};

// Writes bytes to a file through QSaveFile (an existing file survives a failure), or to
// standard output for "-".
bool writeOutput(const QString& name, const QByteArray& bytes, QString* error) {
    if (name == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
            *error = QStringLiteral("Cannot write to standard output.");
            return false;
        }
        return true;
    }
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(name, file.errorString());
        return false;
    }
    return true;
}

bool parseSettings(const QCommandLineParser& parser, ExportSettings& settings, QString* error) {
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
    if (!pick(QStringLiteral("baseline"), baselineNames, settings.baseline) ||
        !pick(QStringLiteral("sort"), sortNames, settings.sort) ||
        !pick(QStringLiteral("coloring"), coloringNames, settings.coloring))
        return false;

    const QString scheme = parser.isSet(QStringLiteral("scheme")) ? parser.value(QStringLiteral("scheme"))
                                                                  : QStringLiteral("grayscale");
    const int preset = colorSchemePresetIndex(scheme);
    if (preset < 0) {
        QStringList names;
        for (const ColorSchemePreset& p : colorSchemePresets())
            names << p.name;
        *error = QStringLiteral("--scheme must be one of: %1").arg(names.join(QStringLiteral(", ")));
        return false;
    }
    settings.maxColor = colorSchemePresets()[preset].maxColor;
    settings.minColor = colorSchemePresets()[preset].minColor;
    for (const auto& [option, target] :
         {std::pair<QString, QColor*>(QStringLiteral("max-color"), &settings.maxColor),
          std::pair<QString, QColor*>(QStringLiteral("min-color"), &settings.minColor)}) {
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
        bool ok = false;
        const int width = parser.value(QStringLiteral("width")).toInt(&ok);
        if (!ok || width < 1) {
            *error = QStringLiteral("--width must be a positive whole number of scene units");
            return false;
        }
        settings.width = width;
    }
    if (parser.isSet(QStringLiteral("size"))) {
        bool ok = false;
        settings.sizeIndex = parser.value(QStringLiteral("size")).toInt(&ok);
        if (!ok || settings.sizeIndex < 0 || settings.sizeIndex >= ImageSize::choiceCount) {
            *error = QStringLiteral("--size must be 0, 1, 2, 3 or 4");
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("image-size"))) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
        const QRegularExpressionMatch match = pattern.match(parser.value(QStringLiteral("image-size")));
        if (!match.hasMatch() || match.captured(1).toInt() < 1 || match.captured(2).toInt() < 1) {
            *error = QStringLiteral("--image-size must be WIDTHxHEIGHT in pixels, e.g. 1920x1080");
            return false;
        }
        settings.exactSize = QSize(match.captured(1).toInt(), match.captured(2).toInt());
    }
    settings.transparent = parser.isSet(QStringLiteral("transparent"));
    return true;
}

// A graph as the control panel starts it, with the settings applied and built once.
class BatchGraph {
public:
    BatchGraph(const DataSet& data, const ExportSettings& settings)
        : graph(&data.series, &data.unitText, &data.unitAfterValue, &data.magnitudeSuffixes, nullptr)
        , view(graph.view) {
        graph.rebuildEnabled = false;
        graph.setBaselineAlgo(settings.baseline);
        graph.setSortAlgo(settings.sort);
        graph.setColorAlgo(settings.coloring);
        graph.setMaxColor(settings.maxColor);
        graph.setMinColor(settings.minColor);
        graph.computeXRange();
        graph.xRange = settings.width > 0 ? settings.width : 320.0 * graph.monthSpan();
        graph.rebuildEnabled = true;
        graph.makeStackedGraph();
    }
    StackedGraph graph;

private:
    // The scene's view has no parent here, so it is ours to delete.
    std::unique_ptr<StackedGraphView> view;
};

} // namespace

bool CommandLine::isBatch(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : batchOptions)
            if (std::strcmp(argv[i], option) == 0 ||
                (std::strncmp(argv[i], option, std::strlen(option)) == 0 &&
                 argv[i][std::strlen(option)] == '='))
                return true;
    return false;
}

int CommandLine::run(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws stacked graphs of monthly time series. Without options it opens the window, "
                       "with FILE loaded if given."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("info"), QStringLiteral("Print a summary of what FILE holds.")},
        {QStringLiteral("to-csv"),
         QStringLiteral("Write FILE's normalised series as CSV to standard output.")},
        {QStringLiteral("export"),
         QStringLiteral("Render the graph of FILE into the PNG image OUT (- for standard output)."),
         QStringLiteral("OUT")},
        {QStringLiteral("export-layers"),
         QStringLiteral("Write the stacked layout of FILE as CSV to OUT (- for standard output)."),
         QStringLiteral("OUT")},
        {QStringLiteral("baseline"), QStringLiteral("x-axis, symmetric or baseline (default)."),
         QStringLiteral("NAME")},
        {QStringLiteral("sort"), QStringLiteral("onset-time, inside-out or weighted (default)."),
         QStringLiteral("NAME")},
        {QStringLiteral("coloring"),
         QStringLiteral(
             "\"first onset\", \"last offset\", \"max quant\", \"avrg quant\" or \"sum quant\" (default)."),
         QStringLiteral("NAME")},
        {QStringLiteral("scheme"),
         QStringLiteral("Colour preset: grayscale (default), sunset, winter, lime, "
                        "yellow2blue, \"red blood\", green or sand."),
         QStringLiteral("NAME")},
        {QStringLiteral("max-color"), QStringLiteral("Colour of the largest colour key, as #rrggbb."),
         QStringLiteral("COLOR")},
        {QStringLiteral("min-color"), QStringLiteral("Colour of the smallest colour key, as #rrggbb."),
         QStringLiteral("COLOR")},
        {QStringLiteral("width"), QStringLiteral("Graph width in scene units (default 320 a month)."),
         QStringLiteral("N")},
        {QStringLiteral("size"),
         QStringLiteral("Image size choice 0..4: a quarter, half, one, two or four image pixels "
                        "a scene unit (default 2)."),
         QStringLiteral("INDEX")},
        {QStringLiteral("image-size"), QStringLiteral("Exact image size instead of --size, e.g. 1920x1080."),
         QStringLiteral("WxH")},
        {QStringLiteral("transparent"), QStringLiteral("Transparent instead of white background.")},
    });
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A data file."));

    auto usage = [&](const QString& message) {
        if (!message.isEmpty())
            err << message << '\n';
        err << parser.helpText();
        err.flush();
        return 2;
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(helpOption)) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
        return 0;
    }

    const QStringList modes = {QStringLiteral("info"), QStringLiteral("to-csv"), QStringLiteral("export"),
                               QStringLiteral("export-layers")};
    QStringList chosen;
    for (const QString& mode : modes)
        if (parser.isSet(mode))
            chosen << mode;
    if (chosen.size() != 1)
        return usage(QStringLiteral("Choose exactly one of --info, --to-csv, --export and --export-layers."));
    if (parser.positionalArguments().size() != 1)
        return usage(QStringLiteral("Give exactly one data FILE."));
    const QString mode = chosen.first();

    ExportSettings settings;
    QString error;
    if (!parseSettings(parser, settings, &error))
        return usage(error);

    const DataFileResult result = DataFileReader::readFile(parser.positionalArguments().first());
    if (!result.ok()) {
        err << result.error << '\n';
        return 1;
    }

    if (mode == QLatin1String("info")) {
        out << DataSetSummary::describe(result);
        return 0;
    }
    if (mode == QLatin1String("to-csv")) {
        out.flush();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(result.data, buffer);
        if (!writeOutput(QStringLiteral("-"), bytes, &error)) {
            err << error << '\n';
            return 1;
        }
        return 0;
    }

    BatchGraph batch(result.data, settings);
    const QString target = parser.value(mode);
    out.flush();
    if (mode == QLatin1String("export-layers")) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        StackedLayoutCsv::write(batch.graph, buffer);
        if (!writeOutput(target, bytes, &error)) {
            err << error << '\n';
            return 1;
        }
        return 0;
    }
    const QSize size =
        settings.exactSize.isValid()
            ? settings.exactSize
            : ImageSize::forChoice(settings.sizeIndex, ImageSize::truncated(batch.graph.xRange),
                                   ImageSize::truncated(batch.graph.graphHeight));
    if (!SceneImage::exportPng(batch.graph, size, settings.transparent, target, &error)) {
        err << error << '\n';
        return 1;
    }
    return 0;
}
