#pragma once

#include "render/SceneImage.h"

#include <QSize>
#include <QString>

class QGraphicsScene;

// Writes a scene as a PNG file band by band: each band of rows is rendered and handed to the PNG writer
// as it is done, so that images far larger than memory can be written ("-" is standard output). An
// existing file is replaced only by a complete image.
class PngExport {
public:
    // On failure *error names the file and the reason. Each band holds at most bandBudget bytes of
    // pixels (and at least one row); the footer's rows come in bands of their own, so the scene's rows
    // are exactly those without it.
    static bool write(QGraphicsScene& scene, const QSize& size, const SceneImage::Frame& frame,
                      const QString& fileName, QString* error, qint64 bandBudget = bandBytes);

    // Largest image written, in pixels: 65536 x 65536, far beyond any screen or print, and already
    // minutes of drawing and gigabytes of file.
    static constexpr qint64 maxPixels = qint64(1) << 32;
    // Pixel data rendered at a time.
    static constexpr qint64 bandBytes = qint64(256) * 1024 * 1024;
};
