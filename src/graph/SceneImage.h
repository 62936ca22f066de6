#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QGraphicsScene;
class QPainter;

// Renders a scene into an image and writes images as PNG files; shared by the control panel and the
// command line. The scene is fitted with kept aspect ratio into the image from its top-left corner,
// on a white background that is fully transparent when asked for.
class SceneImage {
public:
    // Rows an export adds below the scene's image, on the same background.
    struct Footer {
        int rows = 0;
        // Draws the rows with the painter's origin at their top-left corner; only area (in those
        // coordinates) is asked for at a time.
        std::function<void(QPainter& painter, const QRect& area)> paint;
    };

    // The whole image in memory. A null image, with *error set, when the size is empty or too large.
    static QImage render(QGraphicsScene& scene, const QSize& size, bool transparent, QString* error);

    // Renders the image band by band and writes each band to the PNG file as it is done, so that
    // images far larger than memory can be written ("-" is standard output). An existing file is
    // replaced only by a complete image. On failure *error names the file and the reason. Each band
    // holds at most bandBudget bytes of pixels (and at least one row).
    static bool exportPng(QGraphicsScene& scene, const QSize& size, bool transparent, const QString& fileName,
                          QString* error, qint64 bandBudget = bandBytes) {
        return exportPng(scene, size, transparent, Footer(), fileName, error, bandBudget);
    }
    // The same with the footer's rows below the size given for the scene.
    static bool exportPng(QGraphicsScene& scene, const QSize& size, bool transparent, const Footer& footer,
                          const QString& fileName, QString* error, qint64 bandBudget = bandBytes);

    // Writes the image as PNG under exactly that name ("-" is standard output), as exportPng does.
    static bool writePng(const QImage& image, const QString& fileName, QString* error);

    // Largest image render() accepts, in bytes of pixel data.
    static constexpr qint64 maxImageBytes = qint64(2) * 1024 * 1024 * 1024;
    // Largest image exportPng writes, in pixels: far beyond any size the panel offers for real data,
    // and already hours of drawing.
    static constexpr qint64 maxExportPixels = qint64(1) << 34;
    // Pixel data rendered at a time by exportPng.
    static constexpr qint64 bandBytes = qint64(256) * 1024 * 1024;
    // Widest and highest piece of an image drawn at once: Qt's rasterizer takes device coordinates
    // only up to 32767, so wider images are drawn in tiles.
    static constexpr int tileSide = 16384;
};
