#pragma once

#include <QStringList>

class QTextStream;
struct DataSet;
struct GraphSettings;

// The program's batch modes: summaries, CSV output and image export without a window.
class CommandLine {
public:
    // True when argv asks for a batch mode (or help/version) rather than the window.
    static bool isBatch(int argc, char** argv);
    // The graph settings the options in arguments (program name first) give for that data set. False,
    // with *error, when an option is wrong.
    static bool graphSettings(const QStringList& arguments, const DataSet& data, GraphSettings* settings,
                              QString* error);
    // Runs a batch mode. Exit codes: 0 done, 1 the file or the output failed, 2 bad usage.
    static int run(const QStringList& arguments, QTextStream& out, QTextStream& err);
};
