#pragma once

#include <QStringList>

class QTextStream;

// The program's batch modes: summaries, CSV output and image export without a window.
class CommandLine {
public:
    // True when argv asks for a batch mode (or help/version) rather than the window.
    static bool isBatch(int argc, char** argv);
    // Whether the batch run argv asks for needs fonts (a GUI application); see BatchOptions::usesFonts.
    static bool usesFonts(int argc, char** argv);
    // Runs a batch mode. Exit codes: 0 done, 1 the file or the output failed, 2 bad usage.
    static int run(const QStringList& arguments, QTextStream& out, QTextStream& err);
};
