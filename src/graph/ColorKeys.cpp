#include "graph/ColorKeys.h"

#include "data/MonthText.h"
#include "graph/ValueFormatter.h"

#include <cmath>
#include <limits>

double ColorKeys::key(Kind kind, const DataSeries& series, const MonthRange& range) {
    const QVector<DataPoint>& points = series.points;
    if (points.isEmpty())
        return 0.0;
    double result = 0.0;
    switch (kind) {
    case Kind::FirstOnset:
        return double(range.index(points.first().year, points.first().month));
    case Kind::LastOffset:
        return double(range.index(points.last().year, points.last().month));
    case Kind::MaxQuantity:
        for (const DataPoint& p : points)
            result = qMax(result, p.value);
        return result;
    case Kind::MeanQuantity:
        for (const DataPoint& p : points)
            result += p.value / double(points.size());
        return result;
    case Kind::SumQuantity:
        for (const DataPoint& p : points)
            result += p.value;
        return result;
    case Kind::None:
        break;
    }
    return 0.0;
}

ColorKeys::Range ColorKeys::range(Kind kind, const QVector<DataSeries>& series, const MonthRange& range,
                                  Range previous) {
    if (series.isEmpty() || series.first().points.isEmpty())
        return {};
    Range keys;
    switch (kind) {
    case Kind::FirstOnset:
        keys.min = 0.0;
        keys.max = key(kind, series.last(), range);
        break;
    case Kind::LastOffset:
        keys.max = double(range.span());
        keys.min = keys.max;
        for (const DataSeries& s : series)
            keys.min = qMin(keys.min, key(kind, s, range));
        break;
    case Kind::MaxQuantity:
    case Kind::MeanQuantity:
    case Kind::SumQuantity:
        keys.max = 0.0;
        keys.min = std::numeric_limits<double>::max();
        for (const DataSeries& s : series) {
            const double k = key(kind, s, range);
            keys.max = qMax(keys.max, k);
            keys.min = qMin(keys.min, k);
        }
        break;
    case Kind::None:
        return previous;
    }
    return keys;
}

double ColorKeys::position(double key, Range range) {
    const double difference = range.max - range.min;
    if (!(difference > 0.0))
        return 0.0;
    const double p = (key - range.min) / difference;
    // Keys beyond the range (a range from an older month axis) or overflowed sums stay on the scale.
    return std::isfinite(p) ? qBound(0.0, p, 1.0) : 0.0;
}

QString ColorKeys::text(Kind kind, double key, const MonthRange& range, const ValueFormatter& formatter) {
    if (kind == Kind::FirstOnset || kind == Kind::LastOffset)
        return dateText(range, key);
    return formatter.format(key, -1);
}

QString ColorKeys::dateText(const MonthRange& range, double key) {
    // Keys are month indexes of a drawable range, yet clamp so that truncation stays defined.
    const qint64 k = std::isfinite(key) ? qint64(qBound(-1.0e15, key, 1.0e15)) : 0;
    // A key of 0 or less is the first month itself, as the range names it (the empty range's month 0).
    if (k <= 0)
        return MonthText::of(range.firstYear, range.firstMonth);
    qint64 year = 0;
    qint64 month = 0;
    range.monthAt(k, &year, &month);
    return MonthText::of(year, month);
}
