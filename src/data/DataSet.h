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
