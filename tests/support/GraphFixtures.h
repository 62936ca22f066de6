#pragma once

#include "band/BandGeometry.h"
#include "data/DataSeries.h"
#include "data/MonthRange.h"
#include "data/SeriesPlacement.h"

#include <QRandomGenerator>
#include <QRectF>
#include <QString>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <initializer_list>

// Small builders: a series is a name, its first month and its consecutive values.
namespace GraphFixtures {

inline DataSeries series(const QString& name, int year, int month, std::initializer_list<double> values) {
    DataSeries s;
    s.name = name;
    for (double v : values) {
        s.points.append(DataPoint{year, month, v});
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    return s;
}

// A series starting at month index first of a data set that begins in January 2000.
inline DataSeries at(int first, std::initializer_list<double> values, const QString& name = QString()) {
    return series(name, 2000 + first / 12, 1 + first % 12, values);
}

inline QVector<SeriesPlacement> place(const QVector<DataSeries>& data) {
    return SeriesPlacement::of(data, MonthRange::ofSeries(data));
}

inline int span(const QVector<DataSeries>& data) {
    return int(MonthRange::ofSeries(data).span());
}

// Staggered, bursty series over months 0 .. months - 1, the same for a seed: each starts in the first
// 60 %, lasts at least 3 months and is one noisy bump between 10 and 10^4 high.
inline QVector<DataSeries> generated(int count, int months, quint32 seed) {
    QRandomGenerator random(seed);
    QVector<DataSeries> data(count);
    for (int s = 0; s < count; ++s) {
        const int start = int(random.bounded(months * 6 / 10));
        const int length = 3 + int(random.bounded(months - start - 2));
        const double height = std::pow(10.0, 1.0 + random.bounded(3.0));
        const double centre = start + random.bounded(1.0) * length;
        const double width = 1.0 + random.bounded(0.5) * length;
        data[s].name = QStringLiteral("Series %1").arg(s + 1, 4, 10, QLatin1Char('0'));
        for (int t = start; t < start + length; ++t)
            data[s].points.append(
                {2000 + t / 12, 1 + t % 12,
                 height * std::exp(-std::pow((t - centre) / width, 2)) * random.bounded(1.0)});
    }
    return data;
}

// Whether a scene box lies between the highest bottom and the lowest top of the band's points it touches.
inline bool insideBand(const BandGeometry& band, const QRectF& box) {
    const int from = int(std::floor(box.left() / band.xScale + 1e-9)) - band.first;
    const int to = int(std::ceil(box.right() / band.xScale - 1e-9)) - band.first;
    const double slack = 1e-9 * (1.0 + std::abs(box.top()));
    for (int k = from; k <= to; ++k) {
        if (k < 0 || k >= band.count() || -box.bottom() < band.bottoms[k] * band.yScale - slack ||
            -box.top() > band.tops[k] * band.yScale + slack)
            return false;
    }
    return from < to;
}

} // namespace GraphFixtures
