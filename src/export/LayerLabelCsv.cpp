#include "export/LayerLabelCsv.h"

#include "data/NumberText.h"
#include "graph/GraphLayout.h"
#include "labels/LabelFont.h"

#include <QByteArray>
#include <QIODevice>

void LayerLabelCsv::write(const GraphLayout& layout, const QVector<DataSeries>& series, QIODevice& out) {
    out.write("layer,series,text,pixel_size,x,y,width,height\n");
    const LabelFont font;
    for (int i = 0; i < layout.layers.size(); ++i) {
        const LayerLayout& layer = layout.layers[i];
        if (layer.label.isEmpty() || layer.seriesIndex < 0 || layer.seriesIndex >= series.size())
            continue;
        const QRectF box = font.box(layer.label);
        out.write(QByteArray::number(i) + ',' + NumberText::csvField(series[layer.seriesIndex].name) + ',' +
                  NumberText::csvField(layer.label.text) + ',' + QByteArray::number(layer.label.pixelSize) +
                  ',' + NumberText::shortest(box.x()) + ',' + NumberText::shortest(box.y()) + ',' +
                  NumberText::shortest(box.width()) + ',' + NumberText::shortest(box.height()) + '\n');
    }
}
