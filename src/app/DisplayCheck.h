#pragma once

#include <QByteArray>

// Whether the window can reach a display. Qt aborts when its platform cannot connect to one, so the
// program asks first and, when there is none, says what works instead.
class DisplayCheck {
public:
    // The environment variables the answer depends on.
    struct Environment {
        QByteArray platform;       // QT_QPA_PLATFORM
        QByteArray display;        // DISPLAY
        QByteArray waylandDisplay; // WAYLAND_DISPLAY
        static Environment current();
    };
    // True when the platform the window would use (a -platform argument, else QT_QPA_PLATFORM, else the
    // system's default) needs a display that is not there. Platforms that need none (offscreen, minimal,
    // framebuffers) and Wayland named explicitly are left to Qt.
    static bool displayMissing(int argc, const char* const* argv, const Environment& environment);
    // The one line said instead of opening the window.
    static const char* message();

    // The X display the window would connect to, when the platform it would use is X11 alone (empty
    // when it is something else, or when Wayland may be chosen first).
    static QByteArray x11Display(int argc, const char* const* argv, const Environment& environment);
    // Whether an X server answers at display; Qt aborts when none does.
    static bool answers(const QByteArray& display);
    // The one line said when it does not.
    static QByteArray unreachableMessage(const QByteArray& display);
};
