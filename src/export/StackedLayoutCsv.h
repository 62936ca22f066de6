#pragma once

#include "data/DataSeries.h"

#include <QVector>

class QIODevice;
struct GraphLayout;

// A layout as CSV: one row per layer and month with its bottom and top in value units, layers from the
// bottom of the stack up.
class StackedLayoutCsv {
public:
    static void write(const GraphLayout& layout, const QVector<DataSeries>& series, QIODevice& out);
};
