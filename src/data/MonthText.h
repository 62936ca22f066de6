#pragma once

#include <QString>
#include <QtGlobal>

// A month as text. The graph shows months as year.month ("2004.7", as the legend and tool tips do);
// summaries and messages pad the month to two digits ("2004.07"), so that months line up and sort.
class MonthText {
public:
    static QString of(qint64 year, qint64 month);
    static QString padded(qint64 year, qint64 month);
    // The month's English short name ("Mar"), whatever the locale; empty for a month not 1..12.
    static QString shortName(qint64 month);
    // The month's short name and the year ("Mar 2005"); a month not 1..12 as its number.
    static QString named(qint64 year, qint64 month);
};
