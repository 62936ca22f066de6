#pragma once

#include "band/LayerItem.h"

#include <QGraphicsPathItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QString>

#include <memory>

// Pixel-by-pixel comparison of two pictures of the same size. Colours are compared premultiplied,
// so that an almost transparent pixel counts only as much as it shows.
struct PictureDifference {
    int largest = 0;   // largest difference of a channel, 0 .. 255
    int differing = 0; // pixels differing by more than the threshold
    int pixels = 0;
    QString text() const {
        return QStringLiteral("%1 of %2 pixels differ, by up to %3").arg(differing).arg(pixels).arg(largest);
    }
};

// Opaque pixels darker than the grey level inside rect: text and lines on a light ground.
inline int darkPixels(const QImage& image, const QRect& rect, int below = 80) {
    int dark = 0;
    const QRect inside = rect & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            dark += qAlpha(pixel) > 128 && qGray(pixel) < below ? 1 : 0;
        }
    return dark;
}

inline PictureDifference comparePictures(const QImage& a, const QImage& b, int threshold = 2) {
    PictureDifference result;
    if (a.size() != b.size()) {
        result.largest = 255;
        result.differing = result.pixels = qMax(a.width() * a.height(), b.width() * b.height());
        return result;
    }
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    result.pixels = a.width() * a.height();
    for (int y = 0; y < pa.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(pa.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(pb.constScanLine(y));
        for (int x = 0; x < pa.width(); ++x) {
            const QRgb u = ra[x];
            const QRgb v = rb[x];
            const int d = qMax(qMax(qAbs(qRed(u) - qRed(v)), qAbs(qGreen(u) - qGreen(v))),
                               qMax(qAbs(qBlue(u) - qBlue(v)), qAbs(qAlpha(u) - qAlpha(v))));
            result.largest = qMax(result.largest, d);
            result.differing += d > threshold ? 1 : 0;
        }
    }
    return result;
}

// The scene's path items as plain path items of the same path, pen, brush and opacity, in the same
// order and on the same scene rectangle: what the scene must look like, however its items paint.
inline std::unique_ptr<QGraphicsScene> plainCopy(QGraphicsScene& scene) {
    auto copy = std::make_unique<QGraphicsScene>();
    const QList<QGraphicsItem*> items = scene.items(Qt::AscendingOrder);
    for (QGraphicsItem* item : items) {
        if (auto* path = dynamic_cast<QGraphicsPathItem*>(item))
            copy->addPath(path->path(), path->pen(), path->brush())->setOpacity(item->opacity());
        // A label filled apart from its band: a path of its own over it.
        if (auto* layer = dynamic_cast<LayerItem*>(item); layer && !layer->filledLabel().isEmpty())
            copy->addPath(layer->filledLabel(), QPen(Qt::NoPen), layer->labelFill())
                ->setOpacity(item->opacity());
    }
    copy->setSceneRect(scene.sceneRect());
    return copy;
}

// White, painted with antialiasing under the given transform of scene to image pixels.
inline QImage paintScene(QGraphicsScene& scene, const QSize& size, const QTransform& transform) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(transform);
    const QRectF visible = transform.inverted().mapRect(QRectF(QPointF(0, 0), QSizeF(size)));
    scene.render(&painter, visible, visible, Qt::IgnoreAspectRatio);
    return image;
}
