#pragma once

#include "data/DataSeries.h"
#include "data/MonthRange.h"

#include <QString>
#include <QVector>

class ValueFormatter;

// Every layer's colour comes from one number per series, its key, normalised over all series.
class ColorKeys {
public:
    enum class Kind { FirstOnset, LastOffset, MaxQuantity, MeanQuantity, SumQuantity, None };

    struct Range {
        double min = 0.0;
        double max = 0.0;
    };

    static double key(Kind kind, const DataSeries& series, const MonthRange& range);
    // The keys' range over all series; unknown codes keep the previous range.
    static Range range(Kind kind, const QVector<DataSeries>& series, const MonthRange& range, Range previous);
    // Position on the colour scale, 0 .. 1; 0 when all keys are equal.
    static double position(double key, Range range);
    // Legend text of a key: a date such as 2004.7 for the month keys, a formatted value otherwise.
    static QString text(Kind kind, double key, const MonthRange& range, const ValueFormatter& formatter);
    // The month k months after the range's first month, as year.month.
    static QString dateText(const MonthRange& range, double key);
};
