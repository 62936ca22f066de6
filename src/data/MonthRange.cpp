#include "data/MonthRange.h"

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

void MonthRange::fromCount(qint64 count, qint64* year, qint64* month) {
    *year = count >= 0 ? count / 12 : -((-count + 11) / 12);
    *month = count - *year * 12 + 1;
}

qint64 MonthRange::index(int year, int month) const {
    return count(year, month) - count(firstYear, firstMonth);
}

void MonthRange::monthAt(qint64 i, qint64* year, qint64* month) const {
    fromCount(count(firstYear, firstMonth) + i, year, month);
}
