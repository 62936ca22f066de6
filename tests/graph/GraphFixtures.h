#pragma once

#include "data/DataSeries.h"
#include "graph/MonthRange.h"
#include "graph/SeriesPlacement.h"

#include <QString>
#include <QVector>

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

} // namespace GraphFixtures
