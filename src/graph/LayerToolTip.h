#pragma once

#include "data/DataSeries.h"

#include <QString>

class ValueFormatter;

// The tool tip of a layer: its name, every month with its value and the total, all values at the
// series' common level.
class LayerToolTip {
public:
    static QString text(const DataSeries& series, const ValueFormatter& formatter);
};
