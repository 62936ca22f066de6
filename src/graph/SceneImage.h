#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QGraphicsScene;

// Renders a scene into an image and writes images as PNG files; shared by the control panel
// and the command line.
class SceneImage {
public:
    // QuarterTurn draws the same picture into a transposed image and turns it upright: Qt
    // rasterizes long horizontal bands far faster when they run down the columns.
    enum class Orientation { QuarterTurn, Direct };

    // The scene fitted with kept aspect ratio into an image of that size, on a white
    // background that is fully transparent when asked for. A null image, with *error set,
    // when the size is empty or too large.
    static QImage render(QGraphicsScene& scene, const QSize& size, bool transparent, QString* error,
                         Orientation orientation = Orientation::QuarterTurn);

    // Writes the image as PNG under exactly that name ("-" is standard output). An existing
    // file is replaced only by a complete image. On failure *error names the file and reason.
    static bool writePng(const QImage& image, const QString& fileName, QString* error);

    // Largest image render() accepts, in bytes of pixel data.
    static constexpr qint64 maxImageBytes = qint64(2) * 1024 * 1024 * 1024;
};
