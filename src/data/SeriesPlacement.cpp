#include "data/SeriesPlacement.h"

QVector<SeriesPlacement> SeriesPlacement::of(const QVector<DataSeries>& series, const MonthRange& range) {
    const qint64 span = range.span();
    QVector<SeriesPlacement> placements(series.size());
    for (int s = 0; s < series.size(); ++s) {
        const QVector<DataPoint>& points = series[s].points;
        if (points.isEmpty())
            continue;
        const qint64 first = range.index(points.first().year, points.first().month);
        const qint64 begin = qBound<qint64>(0, -first, points.size());
        const qint64 end = qBound<qint64>(begin, span - first + 1, points.size());
        SeriesPlacement& p = placements[s];
        p.first = int(first + begin);
        p.count = int(end - begin);
        p.points = points.constData() + begin;
        if (p.count == 0)
            p.first = 0;
    }
    return placements;
}
