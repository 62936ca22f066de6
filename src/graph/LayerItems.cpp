#include "graph/LayerItems.h"

#include "graph/ColorScheme1D.h"
#include "graph/GraphLayout.h"
#include "labels/LabelCache.h"

#include <QBrush>
#include <QGraphicsScene>

QPen LayerItems::pen() {
    return QPen(QBrush(Qt::black), 0.5, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QVector<LayerItem*> LayerItems::addTo(QGraphicsScene& scene, const GraphLayout& layout,
                                      const ColorScheme1D& colors, LabelCache& labels,
                                      LayerItem::Storage storage) {
    const QPen outline = pen();
    labels.startBuild();
    QVector<LayerItem*> items;
    items.reserve(layout.layers.size());
    for (const LayerLayout& layer : layout.layers) {
        auto* item = new LayerItem(layer.band, labels.outlines(layer.label), outline,
                                   QBrush(colors.colorAt(layer.colorPosition), Qt::SolidPattern), storage);
        scene.addItem(item);
        items.append(item);
    }
    return items;
}
