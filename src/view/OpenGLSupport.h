#pragma once

#include <QSurfaceFormat>

// What the platform offers for the OpenGL viewport. Both answers are found once and cached;
// they need a QGuiApplication.
class OpenGLSupport {
public:
    // Whether an OpenGL viewport can live on this platform at all.
    static bool hasOpenGL();
    // Whether a context asking for multisampling actually gets sample buffers.
    static bool probeSampleBuffers();
    // The format of every OpenGL viewport and of the probe: the default format with samples.
    static QSurfaceFormat sampleFormat();
};
