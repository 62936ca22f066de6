#include "axis/TimeAxisPainter.h"

#include <QPainter>

#include <cmath>

namespace {

// Room around the labels, in pixels.
constexpr double padding = 3.0;
// Ticks of quarters and months; a year's tick runs down beside its label.
constexpr double quarterTick = 5.0;
constexpr double monthTick = 3.0;

const QColor axisColor(96, 96, 96);
const QColor textColor(32, 32, 32);
const QColor gridColor(0, 0, 0, 36);

} // namespace

TimeAxisPainter::TimeAxisPainter(const QFont& font, const MonthRange& months, double monthZeroX,
                                 double pixelsPerMonth)
    : font(font)
    , metrics(font)
    , months(months)
    , monthZeroX(monthZeroX)
    , pixelsPerMonth(pixelsPerMonth) {}

double TimeAxisPainter::height(const QFontMetricsF& metrics) {
    return std::ceil(2.0 * padding + metrics.height());
}

QVector<TimeTick> TimeAxisPainter::ticks(double left, double right) const {
    const auto width = [this](const QString& text) { return metrics.horizontalAdvance(text); };
    return TimeTicks::plan(months, pixelsPerMonth, (left - monthZeroX) / pixelsPerMonth,
                           (right - monthZeroX) / pixelsPerMonth, width);
}

double TimeAxisPainter::labelEnd(const TimeTick& tick) const {
    return xOf(tick.month) + padding + metrics.horizontalAdvance(tick.text);
}

void TimeAxisPainter::dropLabelsPast(QVector<TimeTick>& ticks, double right) const {
    for (TimeTick& tick : ticks)
        if (!tick.text.isEmpty() && labelEnd(tick) > right)
            tick.text.clear();
}

void TimeAxisPainter::paint(QPainter& painter, const QVector<TimeTick>& ticks, double top, double left,
                            double right) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(axisColor, 0.0));
    // Lines on whole pixels stay sharp.
    const double axisY = std::floor(top);
    const double start = std::max(left, xOf(0));
    const double end = std::min(right, xOf(months.span()));
    if (start <= end)
        painter.drawLine(QPointF(std::floor(start), axisY), QPointF(std::floor(end), axisY));
    painter.setFont(font);
    const double bottom = axisY + height();
    for (const TimeTick& tick : ticks) {
        const double x = std::floor(xOf(tick.month));
        if (x > right + 1.0 || (x < left - 1.0 && (tick.text.isEmpty() || labelEnd(tick) < left)))
            continue;
        const double length = tick.level == TimeTick::Level::Year      ? height() - 1.0
                              : tick.level == TimeTick::Level::Quarter ? quarterTick
                                                                       : monthTick;
        painter.setPen(QPen(axisColor, 0.0));
        painter.drawLine(QPointF(x, axisY), QPointF(x, axisY + length));
        if (tick.text.isEmpty())
            continue;
        painter.setPen(textColor);
        painter.drawText(QPointF(x + padding, bottom - padding - metrics.descent()), tick.text);
    }
    painter.restore();
}

void TimeAxisPainter::paintGrid(QPainter& painter, const QVector<TimeTick>& ticks, double top,
                                double bottom) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(gridColor, 0.0));
    for (const TimeTick& tick : ticks) {
        if (tick.level != TimeTick::Level::Year || tick.text.isEmpty())
            continue;
        const double x = std::floor(xOf(tick.month));
        painter.drawLine(QPointF(x, top), QPointF(x, bottom));
    }
    painter.restore();
}
