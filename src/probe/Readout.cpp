#include "probe/Readout.h"

#include "data/MonthText.h"
#include "graph/GraphLayout.h"
#include "graph/ValueFormatter.h"

double Readout::valueAt(const DataSeries& series, const MonthRange& range, qint64 month) {
    if (series.points.isEmpty())
        return 0.0;
    const qint64 k = month - range.index(series.points.first().year, series.points.first().month);
    return k >= 0 && k < series.points.size() ? series.points[k].value : 0.0;
}

QString Readout::percent(double part, double whole) {
    return QString::number(100.0 * part / whole, 'f', 1) + QStringLiteral(" %");
}

Readout::Texts Readout::texts(const GraphLayout& layout, const QVector<DataSeries>& series,
                              const ValueFormatter& formatter, const LayerHit& hit) {
    Texts texts;
    if (!hit.inMonths() || !layout.drawable)
        return texts;
    qint64 year = 0;
    qint64 month = 0;
    layout.months.monthAt(hit.month, &year, &month);
    texts.month = MonthText::named(year, month);
    double total = 0.0;
    for (const LayerLayout& layer : layout.layers)
        if (layer.seriesIndex >= 0 && layer.seriesIndex < series.size())
            total += valueAt(series[layer.seriesIndex], layout.months, hit.month);
    texts.total = formatter.format(total, -1);
    if (!hit.onLayer() || hit.layer >= layout.layers.size())
        return texts;
    const int s = layout.layers[hit.layer].seriesIndex;
    if (s < 0 || s >= series.size())
        return texts;
    const double value = valueAt(series[s], layout.months, hit.month);
    texts.layer = series[s].name;
    texts.value = formatter.format(value, -1);
    if (total > 0.0)
        texts.share = percent(value, total);
    return texts;
}

QString Readout::line(const Texts& texts) {
    static const QString dot = QStringLiteral(" \u00b7 ");
    if (texts.month.isEmpty())
        return {};
    if (texts.value.isEmpty())
        return texts.month + dot + QStringLiteral("total ") + texts.total;
    const QString name = texts.layer.isEmpty() ? QStringLiteral("(no name)") : texts.layer;
    const QString amount = texts.share.isEmpty() ? QStringLiteral("total ") + texts.total
                                                 : texts.share + QStringLiteral(" of ") + texts.total;
    return name + dot + texts.month + dot + texts.value + dot + amount;
}
