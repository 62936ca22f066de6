#pragma once

#include <QRectF>
#include <QTransform>
#include <QVector>

class LayerItem;
class QGraphicsScene;
class QPainter;

// Draws a scene whose items are all layers as QGraphicsScene::render draws it into a target: clipped to
// the target, under the same transform, bottom item first, each item in its own painter state. Unlike
// render, it changes nothing in the scene or its items, so several threads may draw tiles of one image
// at once; a layer paints from its own, unchanging geometry.
class LayerRenderer {
public:
    // A renderer for the scene's rectangle fitted into target with kept aspect ratio; not valid when the
    // scene holds anything but layers.
    LayerRenderer(QGraphicsScene& scene, const QRectF& target);

    bool isValid() const { return valid; }
    void paint(QPainter& painter) const;

private:
    QVector<const LayerItem*> items;
    QRectF target;
    QTransform transform;
    bool valid = false;
};
