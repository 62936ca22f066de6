#include "render/SceneImage.h"

#include "band/LayerItem.h"
#include "render/LayerRenderer.h"
#include "render/ParallelWork.h"

#include <QGraphicsScene>
#include <QPainter>
#include <QThread>

#include <climits>
#include <cmath>
#include <mutex>

namespace {

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

QString sizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

bool isDrawable(const QRectF& rect) {
    return std::isfinite(rect.width()) && std::isfinite(rect.height()) && rect.width() > 0.0 &&
           rect.height() > 0.0;
}

// The pieces of rows drawn at once: no wider or higher than a tile, and at least as many columns as
// threads when drawing can be shared. Columns start at multiples of a layer's fill strip, so every
// split draws the same strips.
QVector<QRect> tilesOf(const QImage& rows, int columns) {
    const int strip = LayerItem::stripWidth;
    int width = qMin(SceneImage::tileSide, (rows.width() + columns - 1) / qMax(columns, 1));
    width = qMax(strip, (width + strip - 1) / strip * strip);
    QVector<QRect> tiles;
    for (int top = 0; top < rows.height(); top += SceneImage::tileSide)
        for (int left = 0; left < rows.width(); left += width)
            tiles.append(QRect(left, top, qMin(width, rows.width() - left),
                               qMin(SceneImage::tileSide, rows.height() - top)));
    return tiles;
}

// Calls draw for a piece of rows with an antialiasing painter on that piece whose origin is the
// top-left corner of rows.
template <typename Draw> void drawTile(QImage& rows, const QRect& area, Draw draw) {
    QImage tile(rows.scanLine(area.top()) + qsizetype(area.left()) * 4, area.width(), area.height(),
                rows.bytesPerLine(), rows.format());
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(-area.left(), -area.top());
    draw(painter, area);
}

// Calls draw for each tile of rows in turn.
template <typename Draw> void drawTiles(QImage& rows, Draw draw) {
    for (const QRect& area : tilesOf(rows, 1))
        drawTile(rows, area, draw);
}

// White everywhere, with alpha 0 when transparent.
void fillBackground(QImage& rows) {
    rows.fill(0);
    rows.invertPixels(QImage::InvertRgb);
}

} // namespace

bool SceneImage::wholeHeight(const QSize& size, const Footer& footer, qint64* height, QString* error) {
    *height = qint64(size.height()) + qMax(footer.rows, 0);
    if (size.width() <= 0 || size.height() <= 0) {
        setError(error,
                 QStringLiteral("Cannot create an image of %1 pixels: it has no area.").arg(sizeText(size)));
        return false;
    }
    if (*height > INT_MAX) {
        setError(error,
                 QStringLiteral("Cannot create an image of %1 pixels: it is too high.").arg(sizeText(size)));
        return false;
    }
    return true;
}

void SceneImage::renderRows(QGraphicsScene& scene, const QSize& size, const Frame& frame, int firstRow,
                            QImage& rows) {
    fillBackground(rows);
    const QRectF target = SceneImage::target(scene.sceneRect(), size, frame.placement);
    // An empty scene rectangle would give an infinite scale; such a scene draws nothing.
    if (target.isNull())
        return;
    const QTransform shift = QTransform::fromTranslate(0.0, -firstRow);
    std::function<void(int, int)> tileDone;
    if (frame.progress) {
        const double whole = double(size.height()) + qMax(frame.footer.rows, 0);
        // Captured by value: the lambda outlives this block.
        tileDone = [&, whole](int done, int all) {
            frame.progress((firstRow + rows.height() * double(done) / all) / whole);
        };
    }
    if (drawLayers(scene, LayerRenderer::fitting(scene.sceneRect(), target) * shift, shift.mapRect(target),
                   rows, 4 * qMax(1, QThread::idealThreadCount()), tileDone,
                   QRect(0, -firstRow, size.width(), size.height())))
        return;
    drawTiles(rows, [&](QPainter& painter, const QRect&) {
        painter.translate(0, -firstRow);
        scene.render(&painter, target, QRectF(), Qt::KeepAspectRatio);
    });
}

void SceneImage::renderFooterRows(const Footer& footer, int firstRow, QImage& rows) {
    fillBackground(rows);
    if (!footer.paint)
        return;
    drawTiles(rows, [&](QPainter& painter, const QRect& area) {
        painter.translate(0, -firstRow);
        footer.paint(painter, area.translated(0, firstRow));
    });
}

bool SceneImage::drawLayers(QGraphicsScene& scene, const QTransform& transform, const QRectF& clip,
                            QImage& image, int columns,
                            const std::function<void(int done, int all)>& tileDone, const QRect& whole) {
    const LayerRenderer layers(scene, transform, clip);
    if (!layers.isValid())
        return false;
    // Tiles of columns on every core at once; each tile writes only its own pixels. More tiles than
    // threads, taken in turn, so that no thread waits long for another at the end.
    const QVector<QRect> tiles = tilesOf(image, columns);
    std::mutex reporting;
    int done = 0;
    forEachInParallel(int(tiles.size()), [&](int i) {
        drawTile(image, tiles[i], [&](QPainter& painter, const QRect& area) {
            layers.paint(painter, area, whole.translated(-area.topLeft()));
        });
        if (tileDone) {
            const std::lock_guard<std::mutex> lock(reporting);
            tileDone(++done, int(tiles.size()));
        }
    });
    return true;
}

QRectF SceneImage::target(const QRectF& sceneRect, const QSize& size, Placement placement) {
    if (!isDrawable(sceneRect))
        return {};
    const QRectF frame(QPointF(0.0, 0.0), QSizeF(size));
    if (placement == Placement::TopLeft)
        return frame; // the scene's own fitting puts it at the top-left corner
    const double scale = qMin(frame.width() / sceneRect.width(), frame.height() / sceneRect.height());
    const QSizeF fitted = sceneRect.size() * scale;
    return QRectF(QPointF((frame.width() - fitted.width()) / 2.0, (frame.height() - fitted.height()) / 2.0),
                  fitted);
}

QImage SceneImage::render(QGraphicsScene& scene, const QSize& size, const Frame& frame, QString* error) {
    qint64 height = 0;
    if (!wholeHeight(size, frame.footer, &height, error))
        return {};
    const QSize whole(size.width(), int(height));
    if (qint64(whole.width()) * whole.height() * 4 > maxImageBytes) {
        setError(error, QStringLiteral("Cannot create an image of %1 pixels: it would need more than %2 MiB.")
                            .arg(sizeText(whole))
                            .arg(maxImageBytes / (1024 * 1024)));
        return {};
    }
    QImage image(whole, formatFor(frame.transparent));
    if (image.isNull()) {
        setError(
            error,
            QStringLiteral("Cannot create an image of %1 pixels: not enough memory.").arg(sizeText(whole)));
        return {};
    }
    QImage graphRows(image.bits(), whole.width(), size.height(), image.bytesPerLine(), image.format());
    renderRows(scene, size, frame, 0, graphRows);
    if (whole.height() > size.height()) {
        QImage footerRows(image.scanLine(size.height()), whole.width(), whole.height() - size.height(),
                          image.bytesPerLine(), image.format());
        renderFooterRows(frame.footer, 0, footerRows);
    }
    return image;
}
