#include "graph/LayerItems.h"

#include "graph/ColorScheme1D.h"
#include "graph/GraphLayout.h"
#include "labels/LabelCache.h"
#include "labels/TextContrast.h"
#include "render/ParallelWork.h"

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
    const int count = int(layout.layers.size());
    // Fitted names are written in whichever text colour reads better on their band; the others are cut
    // out of it.
    const bool filledNames = layout.labelMode == GraphSettings::LabelMode::Fitted;
    QVector<QPainterPath> names(count);
    QVector<QPointF> nameOrigins(count);
    QVector<QColor> fills(count);
    QVector<QBrush> nameFills(count);
    for (int i = 0; i < count; ++i) {
        const LayerLayout& layer = layout.layers[i];
        names[i] = labels.outlinesAtOrigin(layer.label, &nameOrigins[i]);
        fills[i] = colors.colorAt(layer.colorPosition);
        if (filledNames)
            nameFills[i] = QBrush(TextContrast::readableOn(fills[i]), Qt::SolidPattern);
    }
    // The paths and contours of thousands of layers take most of a rebuild; they are made on every core,
    // the items themselves on this thread, which owns the scene.
    QVector<LayerItem::Parts> parts(count);
    forEachInParallel(count, [&](int i) {
        names[i].translate(nameOrigins[i]);
        parts[i] = LayerItem::partsOf(layout.layers[i].band, names[i], storage, nameFills[i]);
    });
    QVector<LayerItem*> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto* item = new LayerItem(layout.layers[i].band, names[i], std::move(parts[i]), outline,
                                   QBrush(fills[i], Qt::SolidPattern), storage, nameFills[i]);
        scene.addItem(item);
        items.append(item);
    }
    return items;
}
