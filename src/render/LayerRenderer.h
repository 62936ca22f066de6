#pragma once

#include <QRect>
#include <QRectF>
#include <QTransform>
#include <QVector>

class LayerItem;
class QGraphicsScene;
class QPainter;

// Draws a scene whose items are all layers as QGraphicsScene::render or a view draws it: under one
// transform, clipped, bottom item first, each item in its own painter state. It changes nothing in the
// scene or its items, so several threads may draw tiles of one image at once; a layer paints from its
// own, unchanging geometry.
class LayerRenderer {
public:
    // A renderer drawing the scene under transform (scene to the painter's coordinates), clipped to clip
    // in the painter's coordinates (a null clip: not clipped, as a view draws; a clip, even one as large
    // as the device, makes Qt's thin lines step differently); not valid when the scene holds anything but
    // layers or the transform turns or shears it.
    LayerRenderer(QGraphicsScene& scene, const QTransform& transform, const QRectF& clip);

    // What QGraphicsScene::render does to fit the scene's rectangle into target with kept aspect ratio.
    static QTransform fitting(const QRectF& sceneRect, const QRectF& target);

    bool isValid() const { return valid; }
    // Draws the layers that reach into area (in the painter's coordinates): a layer further away draws
    // nothing there. whole: the rectangle of the picture the painter's device is a piece of, in the
    // device's pixels, so that thin lines come out as on the whole picture.
    void paint(QPainter& painter, const QRectF& area, const QRect& whole) const;

private:
    QVector<const LayerItem*> items;
    QVector<QRectF> reach; // of each item, in the painter's coordinates
    QVector<double> opacity;
    QRectF clip;
    QTransform transform;
    bool valid = false;
};
