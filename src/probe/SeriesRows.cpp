#include "probe/SeriesRows.h"

#include "graph/ColorKeys.h"
#include "graph/ColorScheme1D.h"
#include "graph/GraphLayout.h"
#include "graph/ValueFormatter.h"

#include <algorithm>

QVector<SeriesRow> SeriesRow::of(const QVector<DataSeries>& series, const GraphLayout& layout,
                                 const ColorScheme1D& colors, const ValueFormatter& formatter) {
    QVector<SeriesRow> rows;
    rows.reserve(series.size());
    for (int s = 0; s < series.size(); ++s) {
        SeriesRow row;
        row.series = s;
        row.name = series[s].name;
        for (const DataPoint& point : series[s].points)
            row.total += point.value;
        row.totalText = formatter.format(row.total, -1);
        // The layer's colour comes from where its key lies in the keys of all series, drawn or not.
        const double key = ColorKeys::key(layout.coloring, series[s], layout.months);
        row.color = colors.colorAt(ColorKeys::position(key, layout.keys));
        rows.append(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const SeriesRow& a, const SeriesRow& b) { return a.total > b.total; });
    return rows;
}
