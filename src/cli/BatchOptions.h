#pragma once

#include "data/DataSet.h"
#include "export/ImageSize.h"
#include "graph/GraphSettings.h"
#include "import/ImportOptions.h"

#include <QSize>
#include <QStringList>
#include <QVector>

class QCommandLineParser;

// The batch modes' options: which there are, and the settings of a graph and of its image they give.
struct BatchOptions {
    GraphSettings graph;
    bool widthGiven = false;
    // Neither --size nor --image-size: the picture that opens anywhere.
    bool sizeGiven = false;
    bool labelsGiven = false;
    bool baselineGiven = false;
    // How long finding a searched stacking order may take.
    double orderSeconds = LayerOrdering::Budget::batchSeconds;
    int sizeIndex = ImageSize::defaultChoice;
    QSize exactSize;
    bool transparent = false;
    bool timeAxis = false;
    // The stacking order, once a layout has found it: it does not depend on the width.
    QVector<int> order;
    // How a CSV, TSV or JSON file's columns become series.
    ImportOptions import;
    // Names of the series --hide leaves out, as given.
    QStringList hiddenNames;

    // Every option of the batch modes, with its help text.
    static void addTo(QCommandLineParser& parser);
    // The modes, one of which a run chooses: "info", "to-csv", "export" ...
    static QStringList modes();
    // True when argv asks for a batch mode (or help or the version) rather than the window.
    static bool namesBatch(int argc, char** argv);
    // True when argv names a mode that lays out names or draws, which needs fonts: the others run without
    // a platform.
    static bool usesFonts(int argc, char** argv);
    // Takes the settings from the parsed options; false, with *error, when one is wrong.
    bool read(const QCommandLineParser& parser, QString* error);
    // Hides every series of the data set named by --hide; false, with *error naming them, when some name
    // no series.
    bool hideSeries(const DataSet& data, QString* error);

    // The options that say how a table's columns become series, and their reading.
    static void addImportOptions(QCommandLineParser& parser);
    static bool readImportOptions(const QCommandLineParser& parser, ImportOptions* options, QString* error);

    // A day: longer is surely a mistake.
    static constexpr double maxOrderSeconds = 86400.0;
    // The picture --export makes without a size.
    static const QSize defaultPicture;
};
