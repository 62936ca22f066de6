#pragma once

#include "data/DataPoint.h"

#include <QString>
#include <QVector>

// A named series. After a load its points are ascending, one per month, without gaps.
struct DataSeries {
    QString name;
    QVector<DataPoint> points;
};
