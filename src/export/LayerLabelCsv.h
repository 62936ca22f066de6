#pragma once

#include "data/DataSeries.h"

#include <QVector>

class QIODevice;
struct GraphLayout;

// The labels of a layout as CSV: one row per label drawn, layers from the bottom of the stack up, with
// its text, pixel size and text box in scene units (top-left corner, y downwards).
class LayerLabelCsv {
public:
    static void write(const GraphLayout& layout, const QVector<DataSeries>& series, QIODevice& out);
};
