#include "view/OpenGLSupport.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QString>
#include <QWindow>

#include <optional>

namespace {

bool haveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool platformCanHostOpenGLWidgets() {
    // These platforms either have no OpenGL or cannot composite an OpenGL widget into a view.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    return context.create();
}

bool contextGetsSamples() {
    const QSurfaceFormat format = OpenGLSupport::sampleFormat();
    QWindow window;
    window.setSurfaceType(QSurface::OpenGLSurface);
    window.setFormat(format);
    window.create();
    QOpenGLContext context;
    context.setFormat(format);
    if (!context.create() || !context.makeCurrent(&window))
        return false;
    const bool samples = context.format().samples() > 0;
    context.doneCurrent();
    return samples;
}

} // namespace

bool OpenGLSupport::hasOpenGL() {
    // Without an application there is no platform to ask yet; do not cache that answer.
    if (!haveGuiApplication())
        return false;
    static std::optional<bool> result;
    if (!result)
        result = platformCanHostOpenGLWidgets();
    return *result;
}

bool OpenGLSupport::probeSampleBuffers() {
    if (!hasOpenGL())
        return false;
    static std::optional<bool> result;
    if (!result)
        result = contextGetsSamples();
    return *result;
}

QSurfaceFormat OpenGLSupport::sampleFormat() {
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSamples(4);
    return format;
}
