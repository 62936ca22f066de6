#pragma once

#include <QtGlobal>

// One monthly value of a series. After a load, month is 1..12 and value is finite and >= 0.
struct DataPoint {
    qint32 year = 0;
    qint32 month = 1;
    double value = 0.0;
};
