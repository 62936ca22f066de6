#include "data/DataSet.h"

#include "data/MonthRange.h"
#include "data/SeriesNormalizer.h"

#include <cmath>

QString invariantFault(const DataSet& data) {
    qint64 previousStart = 0;
    for (qsizetype i = 0; i < data.series.size(); ++i) {
        const DataSeries& s = data.series[i];
        if (s.points.isEmpty())
            return QStringLiteral("series without points");
        const qint64 start = MonthRange::count(s.points.first());
        if (i > 0 && start < previousStart)
            return QStringLiteral("series not sorted by first month");
        previousStart = start;
        qint64 expected = start;
        for (const DataPoint& p : s.points) {
            if (p.month < 1 || p.month > 12)
                return QStringLiteral("month out of range");
            if (!(p.value >= 0.0 && p.value <= SeriesNormalizer::maxValue) || std::signbit(p.value))
                return QStringLiteral("bad value");
            if (MonthRange::count(p) != expected)
                return QStringLiteral("months not consecutive");
            ++expected;
        }
    }
    return QString();
}
