#pragma once

#include "data/DataSet.h"

#include <QString>
#include <QStringList>

#include <cmath>

// Test helpers: a data set written as one line, so expectations read like the file they came from,
// and a check of the invariants every successful load must keep.
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

// Empty when the invariants hold, else what broke.
inline QString invariantFault(const DataSet& data) {
    for (const DataSeries& s : data.series) {
        if (s.points.isEmpty())
            return QStringLiteral("series without points");
        for (qsizetype k = 0; k < s.points.size(); ++k) {
            const DataPoint& p = s.points[k];
            if (p.month < 1 || p.month > 12)
                return QStringLiteral("month out of range");
            if (!std::isfinite(p.value) || p.value < 0 || p.value > 1e300 || std::signbit(p.value))
                return QStringLiteral("bad value");
            if (k > 0) {
                const DataPoint& q = s.points[k - 1];
                if (qint64(p.year) * 12 + p.month != qint64(q.year) * 12 + q.month + 1)
                    return QStringLiteral("months not consecutive");
            }
        }
    }
    for (qsizetype i = 1; i < data.series.size(); ++i) {
        const DataPoint& a = data.series[i - 1].points.first();
        const DataPoint& b = data.series[i].points.first();
        if (qint64(a.year) * 12 + a.month > qint64(b.year) * 12 + b.month)
            return QStringLiteral("series not sorted by first month");
    }
    return QString();
}

} // namespace DataSetText
