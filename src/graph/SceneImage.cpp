#include "graph/SceneImage.h"

#include "data/OutputFile.h"
#include "graph/PngWriter.h"

#include <QDir>
#include <QGraphicsScene>
#include <QPainter>

#include <climits>
#include <cmath>
#include <memory>

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

QImage::Format formatFor(bool transparent) {
    return transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

// Calls draw for each piece of rows no wider or higher than a tile, with a painter on that piece whose
// origin is the top-left corner of rows (Qt's rasterizer takes device coordinates only up to 32767).
template <typename Draw> void drawTiles(QImage& rows, Draw draw) {
    for (int top = 0; top < rows.height(); top += SceneImage::tileSide) {
        const int height = qMin(SceneImage::tileSide, rows.height() - top);
        for (int left = 0; left < rows.width(); left += SceneImage::tileSide) {
            const int width = qMin(SceneImage::tileSide, rows.width() - left);
            QImage tile(rows.scanLine(top) + qsizetype(left) * 4, width, height, rows.bytesPerLine(),
                        rows.format());
            QPainter painter(&tile);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.translate(-left, -top);
            draw(painter, QRect(left, top, width, height));
        }
    }
}

// White everywhere, with alpha 0 when transparent.
void fillBackground(QImage& rows) {
    rows.fill(0);
    rows.invertPixels(QImage::InvertRgb);
}

// Rows firstRow .. firstRow + rows.height() - 1 of the scene's image of that size: the background, then
// the scene drawn over it tile by tile. Each tile is a view into rows, drawn as the whole image would
// be, moved by whole pixels.
void renderRows(QGraphicsScene& scene, const QSize& size, int firstRow, QImage& rows) {
    fillBackground(rows);
    // An empty scene rectangle would give an infinite scale; such a scene draws nothing.
    if (!isDrawable(scene.sceneRect()))
        return;
    const QRectF target(QPointF(0.0, 0.0), QSizeF(size));
    drawTiles(rows, [&](QPainter& painter, const QRect&) {
        painter.translate(0, -firstRow);
        scene.render(&painter, target, QRectF(), Qt::KeepAspectRatio);
    });
}

// Rows firstRow .. of the footer, on the background.
void renderFooterRows(const SceneImage::Footer& footer, int firstRow, QImage& rows) {
    fillBackground(rows);
    if (!footer.paint)
        return;
    drawTiles(rows, [&](QPainter& painter, const QRect& area) {
        painter.translate(0, -firstRow);
        footer.paint(painter, area.translated(0, firstRow));
    });
}

} // namespace

QImage SceneImage::render(QGraphicsScene& scene, const QSize& size, bool transparent, QString* error) {
    if (size.width() <= 0 || size.height() <= 0) {
        setError(error,
                 QStringLiteral("Cannot create an image of %1 pixels: it has no area.").arg(sizeText(size)));
        return {};
    }
    if (qint64(size.width()) * size.height() * 4 > maxImageBytes) {
        setError(error, QStringLiteral("Cannot create an image of %1 pixels: it would need more than %2 MiB.")
                            .arg(sizeText(size))
                            .arg(maxImageBytes / (1024 * 1024)));
        return {};
    }
    QImage image(size, formatFor(transparent));
    if (image.isNull()) {
        setError(
            error,
            QStringLiteral("Cannot create an image of %1 pixels: not enough memory.").arg(sizeText(size)));
        return {};
    }
    renderRows(scene, size, 0, image);
    return image;
}

bool SceneImage::exportPng(QGraphicsScene& scene, const QSize& size, bool transparent, const Footer& footer,
                           const QString& fileName, QString* error, qint64 bandBudget) {
    if (size.width() <= 0 || size.height() <= 0) {
        setError(error,
                 QStringLiteral("Cannot create an image of %1 pixels: it has no area.").arg(sizeText(size)));
        return false;
    }
    const int footerRows = qMax(footer.rows, 0);
    const qint64 rowBytes = qint64(size.width()) * 4;
    const qint64 height = qint64(size.height()) + footerRows;
    if (qint64(size.width()) * height > maxExportPixels || rowBytes > bandBytes || height > INT_MAX) {
        setError(error,
                 QStringLiteral("Cannot create an image of %1 pixels: it would have more than %2 million "
                                "pixels or rows wider than %3 MiB.")
                     .arg(sizeText(QSize(size.width(), int(qMin<qint64>(height, INT_MAX)))))
                     .arg(maxExportPixels / 1000000)
                     .arg(bandBytes / (1024 * 1024)));
        return false;
    }
    const int bandRows = int(qBound(qint64(1), qMax(bandBudget, qint64(0)) / rowBytes, height));
    QImage band(size.width(), bandRows, formatFor(transparent));
    if (band.isNull()) {
        setError(
            error,
            QStringLiteral("Cannot create an image of %1 pixels: not enough memory.").arg(sizeText(size)));
        return false;
    }
    return OutputFile::write(
        fileName,
        [&](QIODevice& out, QString* reason) {
            PngWriter png(out);
            const auto written = [&](const QImage& rows) {
                if (png.writeRows(rows))
                    return true;
                *reason = png.errorString();
                return false;
            };
            if (!png.begin(QSize(size.width(), int(height)), transparent)) {
                *reason = png.errorString();
                return false;
            }
            for (int top = 0; top < size.height(); top += bandRows) {
                const int rows = qMin(bandRows, size.height() - top);
                QImage part(band.bits(), band.width(), rows, band.bytesPerLine(), band.format());
                renderRows(scene, size, top, part);
                if (!written(part))
                    return false;
            }
            // The footer comes in bands of its own, so the scene's rows are exactly those without it.
            for (int top = 0; top < footerRows; top += bandRows) {
                const int rows = qMin(bandRows, footerRows - top);
                QImage part(band.bits(), band.width(), rows, band.bytesPerLine(), band.format());
                renderFooterRows(footer, top, part);
                if (!written(part))
                    return false;
            }
            if (!png.finish()) {
                *reason = png.errorString();
                return false;
            }
            return true;
        },
        error);
}

bool SceneImage::writePng(const QImage& image, const QString& fileName, QString* error) {
    if (image.isNull()) {
        setError(error, QStringLiteral("Cannot write \"%1\": there is no image.")
                            .arg(QDir::toNativeSeparators(fileName)));
        return false;
    }
    const bool alpha = image.hasAlphaChannel();
    const QImage rows = image.convertToFormat(formatFor(alpha));
    return OutputFile::write(
        fileName,
        [&](QIODevice& out, QString* reason) {
            PngWriter png(out);
            if (!png.begin(rows.size(), alpha) || !png.writeRows(rows) || !png.finish()) {
                *reason = png.errorString();
                return false;
            }
            return true;
        },
        error);
}
