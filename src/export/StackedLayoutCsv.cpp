#include "export/StackedLayoutCsv.h"

#include "data/NumberText.h"
#include "graph/GraphLayout.h"

#include <QByteArray>
#include <QIODevice>

void StackedLayoutCsv::write(const GraphLayout& layout, const QVector<DataSeries>& series, QIODevice& out) {
    out.write("layer,series,year,month,bottom,top\n");
    for (int i = 0; i < layout.layers.size(); ++i) {
        const LayerLayout& layer = layout.layers[i];
        if (layer.seriesIndex < 0 || layer.seriesIndex >= series.size())
            continue;
        const QByteArray prefix =
            QByteArray::number(i) + ',' + NumberText::csvField(series[layer.seriesIndex].name) + ',';
        QByteArray rows;
        const BandGeometry& band = layer.band;
        for (int k = 0; k < band.count(); ++k) {
            qint64 year = 0;
            qint64 month = 0;
            layout.months.monthAt(band.first + k, &year, &month);
            rows += prefix + QByteArray::number(year) + ',' + QByteArray::number(month) + ',' +
                    NumberText::shortest(band.bottoms[k]) + ',' + NumberText::shortest(band.tops[k]) + '\n';
        }
        out.write(rows);
    }
}
