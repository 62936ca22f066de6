#include "app/DisplayCheck.h"

#include <QtGlobal>

#include <cstring>

namespace {

// The platform named by -platform NAME (or --platform NAME), which Qt prefers to QT_QPA_PLATFORM.
QByteArray platformArgument(int argc, const char* const* argv) {
    QByteArray platform;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            platform = argv[++i];
    return platform;
}

} // namespace

DisplayCheck::Environment DisplayCheck::Environment::current() {
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
}

bool DisplayCheck::displayMissing(int argc, const char* const* argv, const Environment& environment) {
    QByteArray platform = platformArgument(argc, argv);
    if (platform.isEmpty())
        platform = environment.platform;
    // Qt's default is X11, or Wayland within a Wayland session.
    if (platform.isEmpty())
        return environment.display.isEmpty() && environment.waylandDisplay.isEmpty();
    // A list such as "wayland;xcb" is tried in order; an entry may carry options after a colon.
    for (const QByteArray& entry : platform.split(';'))
        if (entry.split(':').first().trimmed() != "xcb" || !environment.display.isEmpty())
            return false;
    return true;
}

const char* DisplayCheck::message() {
    return "stackedgraph: no display found (DISPLAY is not set), so the window cannot open; "
           "--export OUT.png FILE draws the graph without one (see --help).";
}
