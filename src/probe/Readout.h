#pragma once

#include "data/DataSeries.h"
#include "data/MonthRange.h"
#include "probe/LayerHit.h"

#include <QString>
#include <QVector>

class ValueFormatter;
struct GraphLayout;

// What the status bar says about the point under the pointer: the layer there, the month, the layer's
// value in that month, its share of the month's total, and the total of the layers drawn. Values go
// through the graph's own formatter.
class Readout {
public:
    struct Texts {
        QString layer; // the series' name; empty over no band
        QString month; // "Mar 2005"; empty outside the graph's months
        QString value;
        QString share; // "12.4 %"; empty when the month's total is 0
        QString total;
    };

    static Texts texts(const GraphLayout& layout, const QVector<DataSeries>& series,
                       const ValueFormatter& formatter, const LayerHit& hit);
    // One line: "name · Mar 2005 · value · 12.4 % of total", or "Mar 2005 · total T" over no band, or an
    // empty text outside the months.
    static QString line(const Texts& texts);

    // The series' value at a month index of the range; 0 where it has no point.
    static double valueAt(const DataSeries& series, const MonthRange& range, qint64 month);
    // A share in per cent with one decimal: "12.4 %".
    static QString percent(double part, double whole);
};
