#pragma once

#include "data/DataSeries.h"
#include "data/MonthRange.h"

#include <QVector>

// Where one series lies on the month axis of a build. Its points are consecutive months, so
// the value at month m is point m - first: a lookup, never a scan.
class SeriesPlacement {
public:
    int first = 0;
    int count = 0;
    const DataPoint* points = nullptr;

    int last() const { return first + count - 1; }
    bool covers(int month) const { return month >= first && month - first < count; }
    double valueAt(int month) const { return covers(month) ? points[month - first].value : 0.0; }

    // One placement per series. Points outside 0 .. span (only possible for unsorted input) are
    // left out; the rest stay consecutive. The range must be drawable.
    static QVector<SeriesPlacement> of(const QVector<DataSeries>& series, const MonthRange& range);
};
