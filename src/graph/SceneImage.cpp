#include "graph/SceneImage.h"

#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QPainter>
#include <QSaveFile>

#include <cmath>
#include <cstdio>

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

// White everywhere: with alpha 0 when transparent, opaque otherwise.
QImage blank(const QSize& size, bool transparent) {
    QImage image(size, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (!image.isNull()) {
        image.fill(0);
        image.invertPixels(QImage::InvertRgb);
    }
    return image;
}

} // namespace

QImage SceneImage::render(QGraphicsScene& scene, const QSize& size, bool transparent, QString* error,
                          Orientation orientation) {
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
    const bool turn = orientation == Orientation::QuarterTurn && isDrawable(scene.sceneRect());
    QImage image = blank(turn ? size.transposed() : size, transparent);
    if (image.isNull()) {
        setError(
            error,
            QStringLiteral("Cannot create an image of %1 pixels: not enough memory.").arg(sizeText(size)));
        return {};
    }
    // An empty scene rectangle would give an infinite scale; such a scene draws nothing.
    if (!isDrawable(scene.sceneRect()))
        return image;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        if (turn) {
            painter.translate(size.height(), 0.0);
            painter.rotate(90.0);
        }
        scene.render(&painter, QRectF(QPointF(0.0, 0.0), QSizeF(size)), QRectF(), Qt::KeepAspectRatio);
    }
    if (!turn)
        return image;
    QImage upright = image.transformed(QTransform().rotate(-90.0));
    if (upright.isNull())
        setError(
            error,
            QStringLiteral("Cannot create an image of %1 pixels: not enough memory.").arg(sizeText(size)));
    return upright;
}

bool SceneImage::writePng(const QImage& image, const QString& fileName, QString* error) {
    const QString shownName = QDir::toNativeSeparators(fileName);
    if (image.isNull()) {
        setError(error, QStringLiteral("Cannot write \"%1\": there is no image.").arg(shownName));
        return false;
    }
    if (fileName.isEmpty()) {
        setError(error, QStringLiteral("Cannot write the image: no file name given."));
        return false;
    }
    if (fileName == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.flush()) {
            setError(error,
                     QStringLiteral("Cannot write the image to standard output: %1").arg(out.errorString()));
            return false;
        }
        return true;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("Cannot write \"%1\": %2").arg(shownName, file.errorString()));
        return false;
    }
    if (!image.save(&file, "PNG")) {
        const QString reason =
            file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("PNG encoding failed");
        file.cancelWriting();
        setError(error, QStringLiteral("Cannot write \"%1\": %2").arg(shownName, reason));
        return false;
    }
    if (!file.commit()) {
        setError(error, QStringLiteral("Cannot write \"%1\": %2").arg(shownName, file.errorString()));
        return false;
    }
    return true;
}
