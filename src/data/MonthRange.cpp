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

qint64 MonthRange::index(int year, int month) const {
    return (qint64(year) - firstYear) * 12 + (qint64(month) - firstMonth);
}

void MonthRange::monthAt(qint64 i, qint64* year, qint64* month) const {
    const qint64 fromJanuary = qint64(firstMonth) - 1 + i;
    const qint64 years = fromJanuary >= 0 ? fromJanuary / 12 : -((-fromJanuary + 11) / 12);
    *year = firstYear + years;
    *month = fromJanuary - years * 12 + 1;
}
