#pragma once

#include "axis/TimeTicks.h"
#include "data/MonthRange.h"

#include <QFont>
#include <QFontMetricsF>
#include <QVector>

class QPainter;

// Draws a time axis in pixels for a graph whose month index m lies at x = monthZeroX + m ×
// pixelsPerMonth: the axis line, ticks hanging from it with their labels beside them, and light
// lines at the labelled years across the graph. Shared by the view, which draws it over the graph,
// and image exports, which draw it below.
class TimeAxisPainter {
public:
    TimeAxisPainter(const QFont& font, const MonthRange& months, double monthZeroX, double pixelsPerMonth);

    // The axis' height: the ticks and one line of labels in a font of those metrics.
    static double height(const QFontMetricsF& metrics);
    double height() const { return height(metrics); }
    double xOf(qint64 month) const { return monthZeroX + double(month) * pixelsPerMonth; }
    // The planned ticks of the months between the pixels left and right.
    QVector<TimeTick> ticks(double left, double right) const;
    // The axis line at y = top and the ticks with their labels below it, as far as they reach into
    // the pixels left .. right.
    void paint(QPainter& painter, const QVector<TimeTick>& ticks, double top, double left,
               double right) const;
    // Light vertical lines at the labelled years, from top to bottom.
    void paintGrid(QPainter& painter, const QVector<TimeTick>& ticks, double top, double bottom) const;
    // Leaves out the labels that would run past the pixel right.
    void dropLabelsPast(QVector<TimeTick>& ticks, double right) const;

private:
    double labelEnd(const TimeTick& tick) const;

    QFont font;
    QFontMetricsF metrics;
    MonthRange months;
    double monthZeroX;
    double pixelsPerMonth;
};
