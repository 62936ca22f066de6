#pragma once

#include "data/DataSeries.h"

#include <QColor>
#include <QString>
#include <QVector>

class ColorScheme1D;
class ValueFormatter;
struct GraphLayout;

// The series list's rows: every series with its colour as the graph draws it (also while hidden), its
// total over all months and that total as text, largest total first.
struct SeriesRow {
    int series = 0;
    QString name;
    double total = 0.0;
    QString totalText;
    QColor color;

    static QVector<SeriesRow> of(const QVector<DataSeries>& series, const GraphLayout& layout,
                                 const ColorScheme1D& colors, const ValueFormatter& formatter);
};
