#pragma once

#include "data/DataSeries.h"

#include <QString>
#include <QStringList>

// A series from a compact text: "2008.1:10 2008.2:20" gives two points.
inline DataSeries seriesFromText(const QString& name, const QString& text) {
    DataSeries series;
    series.name = name;
    const QStringList items = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const int dot = item.indexOf(QLatin1Char('.'));
        const int colon = item.indexOf(QLatin1Char(':'));
        DataPoint point;
        point.year = item.left(dot).toInt();
        point.month = item.mid(dot + 1, colon - dot - 1).toInt();
        point.value = item.mid(colon + 1).toDouble();
        series.points.append(point);
    }
    return series;
}
