#pragma once

#include "render/SceneImage.h"

#include <QFont>
#include <QSize>

class ValueFormatter;
struct GraphLayout;

// The rows an exported image gets below the graph while the time axis is on: the axis under the
// graph's months, then the thickness scale at the left. The graph's own rows stay as they are.
class TimeAxisFooter {
public:
    // The footer for the layout's graph rendered into a frame of that size; none when the graph draws
    // nothing. Amounts are written as the graph writes its values.
    static SceneImage::Footer of(const GraphLayout& layout, const ValueFormatter& values,
                                 const QSize& imageSize,
                                 SceneImage::Placement placement = SceneImage::Placement::TopLeft);
    // The text of exports: the same size whatever the image size.
    static QFont font();
    // How many rows the footer adds.
    static int rows();

    // Tallest thickness bar, and the room above and below it, in pixels.
    static constexpr int barRows = 36;
    static constexpr int barPadding = 6;
};
