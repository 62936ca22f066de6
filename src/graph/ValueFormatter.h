#pragma once

#include "data/DataPoint.h"

#include <QString>
#include <QVector>

// Turns values into display text: divided by 1000 per level, with the data set's suffix for
// the level, 0 to 3 decimals by size, and the unit before or after the number.
class ValueFormatter {
public:
    ValueFormatter(const QVector<QString>& suffixes, const QString& unitText, bool unitAfterValue,
                   bool detailed);

    // magnitude < 0 picks the level from the value itself; detailed output never divides.
    QString format(double value, int magnitude) const;
    // One level for a whole series, so that all its values share a suffix: the rounded mean of
    // the automatic levels of its positive values.
    int commonMagnitude(const QVector<DataPoint>& points) const;
    // The level the value would get on its own.
    int automaticLevel(double value) const;
    static int decimals(double value);

private:
    const QVector<QString>& suffixes;
    const QString& unitText;
    bool unitAfterValue;
    bool detailed;
};
