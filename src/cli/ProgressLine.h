#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// A line on a terminal saying how far a long export has come, rewritten in place: shown only where a
// person watches (the stream is a terminal) and only once the export has taken a while, so that short
// runs and scripts see nothing.
class ProgressLine {
public:
    // rows: the picture's height, for the count of rows done.
    ProgressLine(std::FILE* stream, bool terminal, qint64 rows, qint64 quietMilliseconds = 2000);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // How much is done, 0 .. 1.
    void report(double done);
    // Ends the line, if one was shown.
    void finish();

    // Whether the stream reaches a terminal.
    static bool isTerminal(std::FILE* stream);
    static QString text(double done, qint64 rows);

private:
    std::FILE* stream;
    bool terminal;
    qint64 rows;
    qint64 quiet;
    QElapsedTimer clock;
    qint64 lastShown = -1;
    bool shown = false;
};
