#pragma once

#include "data/DataSeries.h"

#include <QVector>
#include <QtGlobal>

// The months a graph covers: month index 0 is (firstYear, firstMonth), the last index is
// (lastYear, lastMonth). Indexes are 64-bit because years from a file may be far apart.
class MonthRange {
public:
    // Longest span a graph is drawn for (100000 years); longer ranges come only from broken files
    // and would need gigabytes for the per-month vectors.
    static constexpr qint64 maxSpan = 1200000;

    int firstYear = 0;
    int firstMonth = 0;
    int lastYear = 0;
    int lastMonth = 1;

    // From the first point of the first series to the latest last point of any series; the
    // empty range (month 0 to month 1) when there is no series or the first has no points.
    static MonthRange ofSeries(const QVector<DataSeries>& series);

    // Months since January of year 0, one number for every calendar month, so that months subtract and
    // compare as numbers; and back.
    static qint64 count(qint64 year, qint64 month) { return year * 12 + (month - 1); }
    static qint64 count(const DataPoint& point) { return count(point.year, point.month); }
    static void fromCount(qint64 count, qint64* year, qint64* month);

    qint64 index(int year, int month) const;
    // The year and month (1..12) of month index i.
    void monthAt(qint64 i, qint64* year, qint64* month) const;
    qint64 span() const { return index(lastYear, lastMonth); }
    bool drawable() const { return span() >= 0 && span() <= maxSpan; }
    // The span used wherever something is divided by it: a single month counts as one.
    qint64 divisorSpan() const { return qMax<qint64>(span(), 1); }
};
