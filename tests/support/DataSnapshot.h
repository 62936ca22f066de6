#pragma once

#include "app/MainWindow.h"
#include "data/DataSeries.h"
#include "graph/StackedGraph.h"
#include "widgets/CentralWidget.h"
#include "widgets/StackedGraphWidget.h"

#include <QString>
#include <QVector>

// Layers drawn by the last build; the stacking order alone may still name those of an
// earlier build when the data set became empty.
inline qsizetype drawnLayers(const StackedGraphWidget* graph) {
    qsizetype count = 0;
    for (const Layer& layer : graph->stackedGraph->stackingOrder())
        count += layer.item ? 1 : 0;
    return count;
}

// Everything a load may change, to compare before and after a failed one.
struct DataSnapshot {
    explicit DataSnapshot(const MainWindow& window)
        : series(window.centralWidget->series)
        , unitText(window.centralWidget->unitText)
        , unitAfterValue(window.centralWidget->unitAfterValue)
        , magnitudeSuffixes(window.centralWidget->magnitudeSuffixes)
        , title(window.windowTitle())
        , layers(drawnLayers(window.centralWidget->mainGraph)) {}

    // A text naming the first difference, or an empty text.
    QString differenceTo(const DataSnapshot& other) const {
        if (title != other.title)
            return QStringLiteral("title %1 became %2").arg(title, other.title);
        if (unitText != other.unitText || unitAfterValue != other.unitAfterValue ||
            magnitudeSuffixes != other.magnitudeSuffixes)
            return QStringLiteral("unit or suffixes changed");
        if (layers != other.layers)
            return QStringLiteral("%1 layers became %2").arg(layers).arg(other.layers);
        if (series.size() != other.series.size())
            return QStringLiteral("%1 series became %2").arg(series.size()).arg(other.series.size());
        for (int s = 0; s < series.size(); ++s) {
            const DataSeries& x = series[s];
            const DataSeries& y = other.series[s];
            if (x.name != y.name || x.points.size() != y.points.size())
                return QStringLiteral("series %1 changed").arg(s);
            for (int p = 0; p < x.points.size(); ++p)
                if (x.points[p].year != y.points[p].year || x.points[p].month != y.points[p].month ||
                    x.points[p].value != y.points[p].value)
                    return QStringLiteral("point %1 of series %2 changed").arg(p).arg(s);
        }
        return QString();
    }

    QVector<DataSeries> series;
    QString unitText;
    bool unitAfterValue;
    QVector<QString> magnitudeSuffixes;
    QString title;
    qsizetype layers;
};
