#include "cli/ProgressLine.h"

#include <QtGlobal>

#include <unistd.h>

namespace {

// Redrawn at most this often.
constexpr qint64 interval = 200;

} // namespace

ProgressLine::ProgressLine(std::FILE* stream, bool terminal, qint64 rows, qint64 quietMilliseconds)
    : stream(stream)
    , terminal(terminal)
    , rows(rows)
    , quiet(quietMilliseconds) {
    clock.start();
}

ProgressLine::~ProgressLine() {
    finish();
}

bool ProgressLine::isTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

QString ProgressLine::text(double done, qint64 rows) {
    const double part = qBound(0.0, done, 1.0);
    return QStringLiteral("Drawing: %1 % (%2 of %3 rows)")
        .arg(int(part * 100.0), 3)
        .arg(qint64(part * double(rows)))
        .arg(rows);
}

void ProgressLine::report(double done) {
    if (!terminal)
        return;
    const qint64 now = clock.elapsed();
    if (now < quiet || (shown && now - lastShown < interval))
        return;
    std::fprintf(stream, "\r%s", qPrintable(text(done, rows)));
    std::fflush(stream);
    lastShown = now;
    shown = true;
}

void ProgressLine::finish() {
    if (!shown)
        return;
    std::fprintf(stream, "\r%s\n", qPrintable(text(1.0, rows)));
    std::fflush(stream);
    shown = false;
}
