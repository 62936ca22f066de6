#pragma once

#include "band/LayerItem.h"

#include <QPen>
#include <QVector>

class ColorScheme1D;
class LabelCache;
class QGraphicsScene;
struct GraphLayout;

// The layers of a layout as the scene's path items, bottom layer first: each band with its label's glyph
// outlines (cut out, or for fitted labels filled in a readable text colour), the black outline and the
// colour of its place on the scale. The window's scene and the
// command line's pictures are made of the same items.
class LayerItems {
public:
    static QVector<LayerItem*> addTo(QGraphicsScene& scene, const GraphLayout& layout,
                                     const ColorScheme1D& colors, LabelCache& labels,
                                     LayerItem::Storage storage);
    // A black outline 0.5 scene units wide.
    static QPen pen();
};
