#pragma once

#include "data/DataSet.h"

#include <QString>
#include <QStringList>

// Test helpers: a data set written as one line, so expectations read like the file they came from.
namespace DataSetText {

inline QString points(const DataSeries& series) {
    QStringList parts;
    for (const DataPoint& p : series.points)
        parts << QStringLiteral("%1.%2=%3").arg(p.year).arg(p.month).arg(p.value, 0, 'g', 17);
    return parts.join(QLatin1Char(' '));
}

// Series only: "Beta: 2007.11=20 2007.12=30 | Alpha: 2008.1=1500".
inline QString seriesText(const DataSet& data) {
    QStringList parts;
    for (const DataSeries& s : data.series)
        parts << s.name + QStringLiteral(": ") + points(s);
    return parts.join(QStringLiteral(" | "));
}

// Header only: unit, "after"/"before", then each suffix in angle brackets.
inline QString headerText(const DataSet& data) {
    QString text = data.unitText + QLatin1Char(' ') +
                   (data.unitAfterValue ? QStringLiteral("after") : QStringLiteral("before"));
    for (const QString& suffix : data.magnitudeSuffixes)
        text += QStringLiteral(" <") + suffix + QLatin1Char('>');
    return text;
}

} // namespace DataSetText
