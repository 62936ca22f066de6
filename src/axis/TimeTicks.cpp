#include "axis/TimeTicks.h"

#include "data/MonthText.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Beyond any span a graph is drawn for; a stride this long labels no more than one year.
constexpr qint64 longestStride = 1000000000000LL;

qint64 floorDivide(qint64 a, qint64 b) {
    const qint64 quotient = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? quotient - 1 : quotient;
}

// The shortest of 1, 2, 5, 10, 20, 50... years that spans at least `needed` pixels; with divides > 0,
// only strides that divide it, so that every labelled year is also a ticked one.
qint64 yearStride(double pixelsPerYear, double needed, qint64 divides) {
    for (qint64 power = 1; power <= longestStride; power *= 10) {
        for (qint64 factor : {1, 2, 5}) {
            const qint64 stride = factor * power;
            if (divides > 0 && divides % stride != 0)
                continue;
            if (double(stride) * pixelsPerYear >= needed)
                return stride;
        }
    }
    return divides > 0 ? divides : longestStride;
}

} // namespace

QVector<TimeTick> TimeTicks::plan(const MonthRange& months, double pixelsPerMonth, double from, double to,
                                  const TextWidth& textWidth) {
    QVector<TimeTick> ticks;
    if (!months.drawable() || !(pixelsPerMonth > 0.0) || !std::isfinite(pixelsPerMonth) || !(from <= to))
        return ticks;
    from = std::max(from, 0.0);
    to = std::min(to, double(months.span()));
    if (!(from <= to))
        return ticks;
    const qint64 first = qint64(std::ceil(from));
    const qint64 last = qint64(std::floor(to));
    if (first > last)
        return ticks;

    const auto calendar = [&](qint64 index, qint64* year, qint64* month) {
        months.monthAt(index, year, month);
    };
    const auto januaryOf = [&](qint64 year) {
        return (year - months.firstYear) * 12 + (1 - months.firstMonth);
    };
    // Labels are spaced for the widest text of their kind; years are widest at the ends of the range.
    const double yearWidth =
        std::max(textWidth(QString::number(months.firstYear)), textWidth(QString::number(months.lastYear)));
    double monthWidth = 0.0;
    double quarterWidth = 0.0;
    for (int month = 2; month <= 12; ++month) {
        const double width = textWidth(MonthText::shortName(month));
        monthWidth = std::max(monthWidth, width);
        if ((month - 1) % 3 == 0)
            quarterWidth = std::max(quarterWidth, width);
    }
    const qint64 labelStride = yearStride(12.0 * pixelsPerMonth, yearWidth + labelGap, 0);
    const qint64 tickStride = yearStride(12.0 * pixelsPerMonth, tickSpacing, labelStride);
    const bool monthLabels = pixelsPerMonth >= std::max(yearWidth, monthWidth) + labelGap;
    const bool quarterLabels = 3.0 * pixelsPerMonth >= std::max(yearWidth, quarterWidth) + labelGap;
    const int step = pixelsPerMonth >= tickSpacing ? 1 : 3.0 * pixelsPerMonth >= tickSpacing ? 3 : 0;

    qint64 year = 0;
    qint64 month = 0;
    calendar(first, &year, &month);
    const qint64 firstJanuaryYear = month == 1 ? year : year + 1;
    if (step > 0) {
        for (qint64 index = first + (step - (month - 1) % step) % step; index <= last; index += step) {
            calendar(index, &year, &month);
            TimeTick tick;
            tick.month = index;
            if (month == 1) {
                tick.level = TimeTick::Level::Year;
                if (year % labelStride == 0)
                    tick.text = QString::number(year);
            } else {
                const bool quarter = (month - 1) % 3 == 0;
                tick.level = quarter ? TimeTick::Level::Quarter : TimeTick::Level::Month;
                if (monthLabels || (quarter && quarterLabels))
                    tick.text = MonthText::shortName(month);
            }
            ticks.append(tick);
        }
    } else {
        const qint64 start = floorDivide(firstJanuaryYear + tickStride - 1, tickStride) * tickStride;
        for (qint64 y = start; januaryOf(y) <= last; y += tickStride) {
            TimeTick tick;
            tick.month = januaryOf(y);
            tick.level = TimeTick::Level::Year;
            if (y % labelStride == 0)
                tick.text = QString::number(y);
            ticks.append(tick);
        }
    }

    const auto labelled = [](const TimeTick& tick) { return !tick.text.isEmpty(); };
    if (std::none_of(ticks.cbegin(), ticks.cend(), labelled)) {
        // Too little room for the regular labels: one label still says where the window is.
        const qint64 at = januaryOf(firstJanuaryYear) <= last ? januaryOf(firstJanuaryYear) : first;
        auto place = std::lower_bound(ticks.begin(), ticks.end(), at,
                                      [](const TimeTick& tick, qint64 index) { return tick.month < index; });
        if (place == ticks.end() || place->month != at) {
            TimeTick tick;
            tick.month = at;
            calendar(at, &year, &month);
            tick.level = month == 1             ? TimeTick::Level::Year
                         : (month - 1) % 3 == 0 ? TimeTick::Level::Quarter
                                                : TimeTick::Level::Month;
            place = ticks.insert(place, tick);
        }
        calendar(at, &year, &month);
        place->text = month == 1 ? QString::number(year) : MonthText::shortName(month);
    }

    // Without a year among the labels the first one names it, and takes the room that needs.
    auto firstLabel = std::find_if(ticks.begin(), ticks.end(), labelled);
    if (firstLabel->level != TimeTick::Level::Year) {
        calendar(firstLabel->month, &year, &month);
        firstLabel->text += QLatin1Char(' ') + QString::number(year);
        const double end = textWidth(firstLabel->text) + labelGap;
        for (auto next = firstLabel + 1; next != ticks.end(); ++next) {
            if (next->text.isEmpty())
                continue;
            if (double(next->month - firstLabel->month) * pixelsPerMonth >= end)
                break;
            next->text.clear();
        }
    }
    return ticks;
}
