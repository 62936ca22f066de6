#include "graph/LayerItems.h"

#include "graph/ColorScheme1D.h"
#include "graph/GraphLayout.h"
#include "labels/LabelCache.h"
#include "labels/TextContrast.h"

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
    // Fitted names are written in whichever text colour reads better on their band; the others are cut
    // out of it.
    const bool filledNames = layout.labelMode == GraphSettings::LabelMode::Fitted;
    for (const LayerLayout& layer : layout.layers) {
        const QColor fill = colors.colorAt(layer.colorPosition);
        const QBrush name = filledNames ? QBrush(TextContrast::readableOn(fill), Qt::SolidPattern) : QBrush();
        auto* item = new LayerItem(layer.band, labels.outlines(layer.label), outline,
                                   QBrush(fill, Qt::SolidPattern), storage, name);
        scene.addItem(item);
        items.append(item);
    }
    return items;
}
