#pragma once

#include "render/SceneImage.h"

#include <QSize>
#include <QString>

class QGraphicsScene;

// Writes a scene to a file in the format its name asks for: PNG, JPEG, or SVG and PDF as vector
// drawings of the same paths and colours, all in the same frame of size.width() x size.height()
// pixels (points in a PDF). "-" is PNG on standard output. An existing file is replaced only by
// complete contents.
class SceneExport {
public:
    enum class Format { Png, Jpeg, Svg, Pdf };

    // The format a file name's extension (in any case) names; false when it names none of them.
    static bool formatOf(const QString& fileName, Format* format);
    // The extensions formatOf knows, for messages: ".png, .jpg, .jpeg, .svg or .pdf".
    static QString extensions();

    // The frame's footer rows come below the size given for the scene. On failure *error names the file
    // and the reason. JPEG has no transparency: the frame's is ignored.
    static bool write(QGraphicsScene& scene, const QSize& size, const SceneImage::Frame& frame,
                      const QString& fileName, QString* error);

    static constexpr int jpegQuality = 90;
};
