#pragma once

#include "data/DataSeries.h"

#include <QString>
#include <QVector>

// Everything a data file holds: the series and how their values are shown.
struct DataSet {
    QVector<DataSeries> series;
    QString unitText;
    bool unitAfterValue = true;
    QVector<QString> magnitudeSuffixes;
};

// Empty when the data set keeps what every load guarantees (every series has points, one a month
// without gaps, months 1..12, values finite, >= 0 and at most 1e300, series ordered by first month),
// else what broke.
QString invariantFault(const DataSet& data);
