#include "cli/BatchOptions.h"

#include "export/ImageSize.h"
#include "graph/ColorSchemePresets.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The batch modes, one of which a run chooses: option, what its value is (none: no value), what it does.
struct Mode {
    const char* name;
    const char* value;
    const char* description;
    // Whether the mode lays out names or draws: it needs fonts, and so a platform to find them.
    bool usesFonts;
};
const Mode modeTable[] = {
    {"info", nullptr, "Print a summary of what FILE holds.", false},
    {"to-csv", nullptr, "Write FILE's normalised series as CSV to standard output.", false},
    {"export", "OUT",
     "Render the graph of FILE into OUT, by its extension a PNG, JPEG (.jpg, .jpeg), SVG or PDF picture "
     "(- for PNG on standard output).",
     true},
    {"export-layers", "OUT", "Write the stacked layout of FILE as CSV to OUT (- for standard output).", true},
    {"export-labels", "OUT",
     "Write the labels drawn in the graph of FILE as CSV to OUT (- for standard output): text, pixel size "
     "and text box in scene units.",
     true},
    {"metrics", nullptr,
     "Print how smooth each baseline and sorting lays FILE out, as CSV; the smoothest pairs go to standard "
     "error. With --baseline, only that baseline's rows.",
     true},
};
// Options that run without a window too.
const char* const otherBatchOptions[] = {"--help", "-h", "--help-all", "--version", "-v"};

} // namespace

const QSize BatchOptions::defaultPicture(1920, 1080);

QStringList BatchOptions::modes() {
    QStringList names;
    for (const Mode& mode : modeTable)
        names << QLatin1String(mode.name);
    return names;
}

namespace {

QStringList schemeNames() {
    QStringList names;
    for (const ColorSchemePreset& preset : colorSchemePresets())
        names << preset.name;
    return names;
}

// The names for an option's help, quoted where they hold a blank, the default marked.
QString nameList(const QStringList& list, int defaultCode) {
    QStringList quoted;
    for (int i = 0; i < list.size(); ++i) {
        const QString name =
            list[i].contains(QLatin1Char(' ')) ? QLatin1Char('"') + list[i] + QLatin1Char('"') : list[i];
        quoted << (i == defaultCode ? name + QStringLiteral(" (default)") : name);
    }
    return quoted.join(QStringLiteral(", ")) + QLatin1Char('.');
}

// Sets target to the index of the option's value among names when the option is given; false, saying
// why, when the value is none of them.
bool pickName(const QCommandLineParser& parser, const QString& option, const QStringList& names, int& target,
              QString* error) {
    if (!parser.isSet(option))
        return true;
    target = names.indexOf(parser.value(option));
    if (target < 0) {
        *error = QStringLiteral("--%1 must be one of: %2").arg(option, names.join(QStringLiteral(", ")));
        return false;
    }
    return true;
}

} // namespace

void BatchOptions::addTo(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Draws stacked graphs of monthly time series. Without options it opens the window, "
                       "with FILE loaded if given."));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const Mode& mode : modeTable)
        parser.addOption(mode.value
                             ? QCommandLineOption(QLatin1String(mode.name), QLatin1String(mode.description),
                                                  QLatin1String(mode.value))
                             : QCommandLineOption(QLatin1String(mode.name), QLatin1String(mode.description)));
    parser.addOptions({
        {QStringLiteral("baseline"), nameList(GraphSettings::baselineNames(), GraphSettings::defaultBaseline),
         QStringLiteral("NAME")},
        {QStringLiteral("sort"), nameList(GraphSettings::sortNames(), GraphSettings::defaultSort),
         QStringLiteral("NAME")},
        {QStringLiteral("coloring"), nameList(GraphSettings::coloringNames(), GraphSettings::defaultColoring),
         QStringLiteral("NAME")},
        {QStringLiteral("labels"),
         QStringLiteral("How layers are named: ") +
             nameList(GraphSettings::labelModeNames(), int(GraphSettings::LabelMode::Classic)) +
             QStringLiteral(" fitted: at the largest size each band holds, the default of --export without "
                            "--size or --image-size."),
         QStringLiteral("NAME")},
        {QStringLiteral("scheme"),
         QStringLiteral("Colour preset: ") + nameList(schemeNames(), GraphSettings::defaultScheme - 1),
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
        {QStringLiteral("hide"),
         QStringLiteral("Leave out the series of exactly this name; the rest restack. May be repeated."),
         QStringLiteral("NAME")},
        {QStringLiteral("order-seconds"),
         QStringLiteral("Longest time the \"optimized\" sorting searches, in seconds (default %1); past it "
                        "the best order found so far is drawn.")
             .arg(LayerOrdering::Budget::batchSeconds),
         QStringLiteral("N")},
    });
    addImportOptions(parser);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A data file, or a table: CSV, TSV or JSON records (named *.csv, *.tsv or *.json)."));
}

namespace {

const char* const columnHelp =
    " column of a CSV, TSV or JSON file, by name or 1-based number (found from the file by default).";

} // namespace

void BatchOptions::addImportOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {QStringLiteral("date-column"), QStringLiteral("The dates'") + QLatin1String(columnHelp),
         QStringLiteral("COLUMN")},
        {QStringLiteral("series-column"),
         QStringLiteral("The series names'") + QLatin1String(columnHelp) +
             QStringLiteral(" 0: none, every column of numbers is a series."),
         QStringLiteral("COLUMN")},
        {QStringLiteral("value-column"), QStringLiteral("The values'") + QLatin1String(columnHelp),
         QStringLiteral("COLUMN")},
        {QStringLiteral("aggregate"),
         QStringLiteral("How values of one series in one month (daily, hourly data) become the month's: ") +
             nameList(ImportOptions::aggregateNames(), 0),
         QStringLiteral("RULE")},
        {QStringLiteral("date-order"),
         QStringLiteral("How dates like 03/04/2020 are read: ") +
             nameList(ImportOptions::dateOrderNames(), 0),
         QStringLiteral("ORDER")},
        {QStringLiteral("skip-rows"),
         QStringLiteral(
             "Rows of notes above a table's header to leave out (found from the file by default)."),
         QStringLiteral("N")},
    });
}

bool BatchOptions::readImportOptions(const QCommandLineParser& parser, ImportOptions* options,
                                     QString* error) {
    options->dateColumn = parser.value(QStringLiteral("date-column"));
    options->seriesColumn = parser.value(QStringLiteral("series-column"));
    options->valueColumn = parser.value(QStringLiteral("value-column"));
    int aggregate = 0;
    int order = 0;
    // Both are read, so that when both are wrong the message names the second.
    const bool aggregateKnown =
        pickName(parser, QStringLiteral("aggregate"), ImportOptions::aggregateNames(), aggregate, error);
    const bool orderKnown =
        pickName(parser, QStringLiteral("date-order"), ImportOptions::dateOrderNames(), order, error);
    if (!aggregateKnown || !orderKnown)
        return false;
    options->aggregate = ImportOptions::Aggregate(aggregate);
    options->dateOrder = ImportOptions::DateOrder(order);
    if (parser.isSet(QStringLiteral("skip-rows"))) {
        bool ok = false;
        const int rows = parser.value(QStringLiteral("skip-rows")).toInt(&ok);
        if (!ok || rows < 0 || rows > 1000000) {
            *error = QStringLiteral("--skip-rows must be a number of rows from 0 to 1000000, not %1")
                         .arg(parser.value(QStringLiteral("skip-rows")));
            return false;
        }
        options->skipRows = rows;
    }
    return true;
}

bool BatchOptions::read(const QCommandLineParser& parser, QString* error) {
    const auto pick = [&](const QString& option, const QStringList& names, int& target) {
        return pickName(parser, option, names, target, error);
    };
    if (!pick(QStringLiteral("baseline"), GraphSettings::baselineNames(), graph.baseline) ||
        !pick(QStringLiteral("sort"), GraphSettings::sortNames(), graph.sort) ||
        !pick(QStringLiteral("coloring"), GraphSettings::coloringNames(), graph.coloring))
        return false;
    int labels = int(graph.labels);
    if (!pick(QStringLiteral("labels"), GraphSettings::labelModeNames(), labels))
        return false;
    graph.labels = GraphSettings::LabelMode(labels);
    labelsGiven = parser.isSet(QStringLiteral("labels"));

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
        widthGiven = true;
    }
    if (parser.isSet(QStringLiteral("size"))) {
        bool ok = false;
        sizeIndex = parser.value(QStringLiteral("size")).toInt(&ok);
        if (!ok || sizeIndex < 0 || sizeIndex >= ImageSize::choiceCount) {
            *error = QStringLiteral("--size must be 0, 1, 2, 3 or 4");
            return false;
        }
        sizeGiven = true;
    }
    if (parser.isSet(QStringLiteral("image-size"))) {
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})[xX](\\d{1,6})$"));
        const QRegularExpressionMatch match = pattern.match(parser.value(QStringLiteral("image-size")));
        if (!match.hasMatch() || match.captured(1).toInt() < 1 || match.captured(2).toInt() < 1) {
            *error = QStringLiteral("--image-size must be WIDTHxHEIGHT in pixels, e.g. 1920x1080");
            return false;
        }
        exactSize = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        sizeGiven = true;
    }
    hiddenNames = parser.values(QStringLiteral("hide"));
    baselineGiven = parser.isSet(QStringLiteral("baseline"));
    if (parser.isSet(QStringLiteral("order-seconds"))) {
        bool ok = false;
        const double seconds = parser.value(QStringLiteral("order-seconds")).toDouble(&ok);
        if (!ok || !(seconds > 0.0 && seconds <= maxOrderSeconds)) {
            *error =
                QStringLiteral("--order-seconds must be a number of seconds above 0 and at most %1, not %2")
                    .arg(maxOrderSeconds)
                    .arg(parser.value(QStringLiteral("order-seconds")));
            return false;
        }
        orderSeconds = seconds;
    }
    transparent = parser.isSet(QStringLiteral("transparent"));
    timeAxis = parser.isSet(QStringLiteral("time-axis"));
    return readImportOptions(parser, &import, error);
}

bool BatchOptions::hideSeries(const DataSet& data, QString* error) {
    QStringList unknown;
    QVector<int> hidden;
    for (const QString& name : hiddenNames) {
        bool found = false;
        for (int s = 0; s < data.series.size(); ++s) {
            if (data.series[s].name == name) {
                hidden.append(s);
                found = true;
            }
        }
        if (!found && !unknown.contains(name))
            unknown << name;
    }
    if (!unknown.isEmpty()) {
        *error =
            QStringLiteral("--hide: no series is named \"%1\"").arg(unknown.join(QStringLiteral("\", \"")));
        return false;
    }
    graph.hidden = GraphSettings::normalizedIndexes(hidden);
    return true;
}

namespace {

bool names(const char* argument, const char* option) {
    const size_t length = std::strlen(option);
    return std::strncmp(argument, option, length) == 0 && (argument[length] == 0 || argument[length] == '=');
}

// Whether an argument names a mode, and one that uses fonts if asked.
bool namesMode(const char* argument, bool onlyWithFonts) {
    if (std::strncmp(argument, "--", 2) != 0)
        return false;
    for (const Mode& mode : modeTable)
        if (names(argument + 2, mode.name) && (mode.usesFonts || !onlyWithFonts))
            return true;
    return false;
}

} // namespace

bool BatchOptions::namesBatch(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (namesMode(argv[i], false))
            return true;
        for (const char* option : otherBatchOptions)
            if (names(argv[i], option))
                return true;
    }
    return false;
}

bool BatchOptions::usesFonts(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (namesMode(argv[i], true))
            return true;
    return false;
}
