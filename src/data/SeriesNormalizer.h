#pragma once

#include "data/DataSeries.h"

#include <QString>
#include <QVector>

// Brings series as a file gave them to what the program relies on: series with fewer than two points
// are dropped, points are sorted by month and series by their first month (both stably), of two points
// in one month the first is kept, and missing months are filled along a straight line. Refuses, with a
// message naming the series and months, data that would need absurd amounts of memory.
class SeriesNormalizer {
public:
    // An error text (the series are then unusable), or an empty one. *dropped counts the series dropped
    // for having fewer than two points, *duplicates the points dropped for repeating a month.
    static QString normalize(QVector<DataSeries>& series, int* dropped = nullptr,
                             qint64* duplicates = nullptr);

    // Guards against files that would make us fill or hold absurd amounts of data.
    static constexpr qint64 maxFilledGap = 120000;     // months inserted between two points
    static constexpr qint64 maxMonthSpan = 120000;     // first to last month of the whole data set
    static constexpr qint64 maxTotalPoints = 50000000; // points of all series after filling
    static constexpr double maxValue = 1e300;
};
