#pragma once

#include "data/MonthRange.h"

#include <QString>
#include <QVector>

#include <functional>

// One mark of a time axis: a month index, what kind of month it is and its label (empty for an
// unlabelled mark).
struct TimeTick {
    enum class Level { Year, Quarter, Month };
    qint64 month = 0;
    Level level = Level::Month;
    QString text;
};

// Plans a time axis: which months of a window get a tick and which a label, for a graph drawn at a
// given number of pixels per month. A label is written from just right of its tick. Januaries carry
// the year ("2008"), thinned to every 2nd, 5th, 10th, 20th... year where they would crowd; quarters
// ("Apr") and then all months ("Feb") are labelled as space allows. When the window holds no year
// label, its first label also says the year ("Nov 2008"). No two labels come closer than labelGap,
// and a window holding a whole month always has a label.
class TimeTicks {
public:
    using TextWidth = std::function<double(const QString&)>;

    // The ticks of the months from .. to (month indexes, within the range), first to last.
    static QVector<TimeTick> plan(const MonthRange& months, double pixelsPerMonth, double from, double to,
                                  const TextWidth& textWidth);

    // Pixels from the end of one label to the tick of the next.
    static constexpr double labelGap = 8.0;
    // Closest that unlabelled ticks of one kind are drawn, in pixels.
    static constexpr double tickSpacing = 5.0;
};
