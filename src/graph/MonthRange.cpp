#include "graph/MonthRange.h"

MonthRange MonthRange::ofSeries(const QVector<DataSeries>& series) {
    MonthRange range;
    if (series.isEmpty() || series.first().points.isEmpty())
        return range;
    const DataPoint& start = series.first().points.first();
    range.firstYear = start.year;
    range.firstMonth = start.month;
    range.lastYear = start.year;
    range.lastMonth = start.month;
    qint64 end = 0;
    for (const DataSeries& s : series) {
        if (s.points.isEmpty())
            continue;
        const DataPoint& last = s.points.last();
        const qint64 lastIndex = range.index(last.year, last.month);
        if (lastIndex > end) {
            end = lastIndex;
            range.lastYear = last.year;
            range.lastMonth = last.month;
        }
    }
    return range;
}

qint64 MonthRange::index(int year, int month) const {
    return (qint64(year) - firstYear) * 12 + (qint64(month) - firstMonth);
}
