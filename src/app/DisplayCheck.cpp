#include "app/DisplayCheck.h"

#include <QtGlobal>

#include <cstring>

#include <xcb/xcb.h>

namespace {

// The value of -name VALUE (or --name VALUE), the last one given.
QByteArray argument(int argc, const char* const* argv, const char* name) {
    QByteArray value;
    for (int i = 1; i + 1 < argc; ++i)
        if (argv[i][0] == '-' && std::strcmp(argv[i] + (argv[i][1] == '-' ? 2 : 1), name) == 0)
            value = argv[++i];
    return value;
}

// The platform named by -platform, which Qt prefers to QT_QPA_PLATFORM.
QByteArray chosenPlatform(int argc, const char* const* argv, const DisplayCheck::Environment& environment) {
    const QByteArray platform = argument(argc, argv, "platform");
    return platform.isEmpty() ? environment.platform : platform;
}

// The X display named by -display, which X11 prefers to DISPLAY.
QByteArray chosenDisplay(int argc, const char* const* argv, const DisplayCheck::Environment& environment) {
    const QByteArray display = argument(argc, argv, "display");
    return display.isEmpty() ? environment.display : display;
}

// Whether every platform a list such as "xcb;offscreen" names is X11 (an entry may carry options
// after a colon).
bool onlyX11(const QByteArray& platform) {
    for (const QByteArray& entry : platform.split(';'))
        if (entry.split(':').first().trimmed() != "xcb")
            return false;
    return true;
}

} // namespace

DisplayCheck::Environment DisplayCheck::Environment::current() {
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
}

bool DisplayCheck::displayMissing(int argc, const char* const* argv, const Environment& environment) {
    const QByteArray platform = chosenPlatform(argc, argv, environment);
    const bool noX11 = chosenDisplay(argc, argv, environment).isEmpty();
    // Qt's default is X11, or Wayland within a Wayland session.
    if (platform.isEmpty())
        return noX11 && environment.waylandDisplay.isEmpty();
    // A list such as "wayland;xcb" is tried in order.
    return onlyX11(platform) && noX11;
}

QByteArray DisplayCheck::x11Display(int argc, const char* const* argv, const Environment& environment) {
    const QByteArray platform = chosenPlatform(argc, argv, environment);
    const bool x11 = platform.isEmpty() ? environment.waylandDisplay.isEmpty() : onlyX11(platform);
    return x11 ? chosenDisplay(argc, argv, environment) : QByteArray();
}

bool DisplayCheck::answers(const QByteArray& display) {
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    // xcb_connect never returns null: a failed connection is an object in an error state.
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return ok;
}

QByteArray DisplayCheck::unreachableMessage(const QByteArray& display) {
    return "stackedgraph: no X display answers at \"" + display +
           "\", so the window cannot open; --export OUT.png FILE draws the graph without one (see --help).";
}

const char* DisplayCheck::message() {
    return "stackedgraph: no display found (DISPLAY is not set), so the window cannot open; "
           "--export OUT.png FILE draws the graph without one (see --help).";
}
