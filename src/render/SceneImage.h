#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <functional>

class QGraphicsScene;
class QPainter;

// Renders a scene into an image, whole or in bands of rows; shared by the control panel, the command line
// and the exports. The scene is fitted with kept aspect ratio into the image from its top-left corner
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

    // How much of a whole image (frame and footer) is drawn, 0 .. 1. Called from the threads that draw,
    // one call at a time.
    using Progress = std::function<void(double done)>;

    // How the scene goes into an image: its background, where it sits in the frame, what comes below, and
    // who hears how far drawing it has come.
    struct Frame {
        bool transparent = false;
        Placement placement = Placement::TopLeft;
        Footer footer;
        Progress progress;
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

    // The image's rows, the frame's and the footer's; false, with *error, when they make no image.
    static bool wholeHeight(const QSize& size, const Footer& footer, qint64* height, QString* error);
    // Rows firstRow .. firstRow + rows.height() - 1 of the frame: the background, then the scene over it.
    // Each tile is drawn as the whole image would be, moved by whole pixels, so that an image rendered
    // in bands of rows is the image rendered whole.
    static void renderRows(QGraphicsScene& scene, const QSize& size, const Frame& frame, int firstRow,
                           QImage& rows);
    // Rows firstRow .. of the footer, on the background.
    static void renderFooterRows(const Footer& footer, int firstRow, QImage& rows);
    static QImage::Format formatFor(bool transparent) {
        return transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    }

    // Draws the scene's layers over what image holds: under transform (scene to image pixels), clipped to
    // clip (image pixels; a null clip: not clipped), split into about that many columns of tiles drawn on
    // every core at once. False, with nothing drawn, when the scene holds anything but layers or the
    // transform turns or shears it.
    // tileDone, when given, hears of each tile as it is done (done of all), one call at a time. whole: the
    // rectangle of the picture image is a piece of, in image pixels; the tiles draw as one painter on the
    // whole would.
    static bool drawLayers(QGraphicsScene& scene, const QTransform& transform, const QRectF& clip,
                           QImage& image, int columns, const std::function<void(int done, int all)>& tileDone,
                           const QRect& whole);

    // Largest image render() accepts, in bytes of pixel data.
    static constexpr qint64 maxImageBytes = qint64(2) * 1024 * 1024 * 1024;
    // Widest and highest piece of an image drawn at once: layers plan their strips and cuts for devices
    // of at most 32000 pixels a side and draw whole (slow) paths beyond.
    static constexpr int tileSide = 16384;
};
