#include "graph/LayerToolTip.h"

#include "data/MonthText.h"
#include "graph/ValueFormatter.h"

QString LayerToolTip::text(const DataSeries& series, const ValueFormatter& formatter) {
    const int magnitude = formatter.commonMagnitude(series.points);
    QString text = series.name + QLatin1Char('\n');
    double total = 0.0;
    for (const DataPoint& point : series.points) {
        text += QLatin1Char('\n') + MonthText::of(point.year, point.month) + QStringLiteral(":\t") +
                formatter.format(point.value, magnitude);
        total += point.value;
    }
    text += QStringLiteral("\n\nTotal:\t") + formatter.format(total, magnitude);
    return text;
}
