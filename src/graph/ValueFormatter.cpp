#include "graph/ValueFormatter.h"

#include <cmath>

ValueFormatter::ValueFormatter(const QVector<QString>& suffixes, const QString& unitText, bool unitAfterValue,
                               bool detailed)
    : suffixes(suffixes)
    , unitText(unitText)
    , unitAfterValue(unitAfterValue)
    , detailed(detailed) {}

int ValueFormatter::automaticLevel(double value) const {
    int n = 0;
    while (n < suffixes.size() - 1 && value >= 1000.0) {
        value /= 1000.0;
        ++n;
    }
    return n;
}

int ValueFormatter::decimals(double value) {
    if (value <= 0.0)
        return 0;
    if (value < 0.0095)
        return 3;
    if (value < 0.095)
        return 2;
    if (value < 0.95)
        return 1;
    return 0;
}

QString ValueFormatter::format(double value, int magnitude) const {
    const int count = int(suffixes.size());
    int n = 0;
    if (!detailed)
        n = magnitude < 0 ? automaticLevel(value) : qMax(0, qMin(magnitude, count - 1));
    for (int i = 0; i < n; ++i)
        value /= 1000.0;
    QString text = QString::number(value, 'f', decimals(value));
    if (n < count)
        text += suffixes[n];
    return unitAfterValue ? text + unitText : unitText + text;
}

int ValueFormatter::commonMagnitude(const QVector<DataPoint>& points) const {
    double levels = 0.0;
    int positive = 0;
    for (const DataPoint& point : points) {
        if (point.value > 0.0) {
            levels += automaticLevel(point.value);
            ++positive;
        }
    }
    return positive > 0 ? int(std::floor(levels / positive + 0.5)) : 0;
}
