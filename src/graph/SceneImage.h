#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <functional>

class QGraphicsScene;
class QPainter;

// Renders a scene into an image and writes images as PNG files; shared by the control panel and the
// command line. The scene is fitted with kept aspect ratio into the image from its top-left corner
// (or in its middle), on a white background that is fully transparent when asked for.
class SceneImage {
public:
    enum class Placement { TopLeft, Centred };

    // Rows an export adds below the scene's frame, on the same background.
    struct Footer {
        int rows = 0;
        // Draws the rows with the painter's origin at their top-left corner; only area (in those
        // coordinates) is asked for at a time.
        std::function<void(QPainter& painter, const QRect& area)> paint;
    };

    // How the scene goes into an image: its background, where it sits in the frame, what comes below.
    struct Frame {
        bool transparent = false;
        Placement placement = Placement::TopLeft;
        Footer footer;
    };

    // Where the scene rectangle goes in a frame of that size: as large as fits, with kept aspect ratio.
    // Null when the scene rectangle has no area.
    static QRectF target(const QRectF& sceneRect, const QSize& size, Placement placement);

    // The whole image in memory: the frame of that size and the footer's rows below it. A null image,
    // with *error set, when the size is empty or too large.
    static QImage render(QGraphicsScene& scene, const QSize& size, const Frame& frame, QString* error);
    static QImage render(QGraphicsScene& scene, const QSize& size, bool transparent, QString* error) {
        Frame frame;
        frame.transparent = transparent;
        return render(scene, size, frame, error);
    }

    // Renders the image band by band and writes each band to the PNG file as it is done, so that
    // images far larger than memory can be written ("-" is standard output). An existing file is
    // replaced only by a complete image. On failure *error names the file and the reason. Each band
    // holds at most bandBudget bytes of pixels (and at least one row); the footer's rows come in bands
    // of their own, so the scene's rows are exactly those without it.
    static bool exportPng(QGraphicsScene& scene, const QSize& size, const Frame& frame,
                          const QString& fileName, QString* error, qint64 bandBudget = bandBytes);
    static bool exportPng(QGraphicsScene& scene, const QSize& size, bool transparent, const QString& fileName,
                          QString* error) {
        Frame frame;
        frame.transparent = transparent;
        return exportPng(scene, size, frame, fileName, error);
    }

    // Draws the scene's layers over what image holds: under transform (scene to image pixels), clipped to
    // clip (image pixels; a null clip: not clipped), split into about that many columns of tiles drawn on
    // every core at once. False, with nothing drawn, when the scene holds anything but layers or the
    // transform turns or shears it.
    static bool drawLayers(QGraphicsScene& scene, const QTransform& transform, const QRectF& clip,
                           QImage& image, int columns);

    // Writes the image as PNG under exactly that name ("-" is standard output), as exportPng does.
    static bool writePng(const QImage& image, const QString& fileName, QString* error);

    // Largest image render() accepts, in bytes of pixel data.
    static constexpr qint64 maxImageBytes = qint64(2) * 1024 * 1024 * 1024;
    // Largest image exportPng writes, in pixels: far beyond any size the panel offers for real data,
    // and already hours of drawing.
    static constexpr qint64 maxExportPixels = qint64(1) << 34;
    // Pixel data rendered at a time by exportPng.
    static constexpr qint64 bandBytes = qint64(256) * 1024 * 1024;
    // Widest and highest piece of an image drawn at once: layers plan their strips and cuts for devices
    // of at most 32000 pixels a side and draw whole (slow) paths beyond.
    static constexpr int tileSide = 16384;
};
