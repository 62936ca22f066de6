#include "export/DataSetCsv.h"

#include "data/DataSet.h"
#include "data/NumberText.h"

#include <QIODevice>

void DataSetCsv::write(const DataSet& data, QIODevice& out) {
    // Rows are gathered in blocks: one device write per row would dominate for large sets.
    constexpr qsizetype blockSize = 1 << 16;
    QByteArray block("series,year,month,value\n");
    block.reserve(blockSize + 1024);
    for (const DataSeries& series : data.series) {
        const QByteArray name = NumberText::csvField(series.name) + ',';
        for (const DataPoint& point : series.points) {
            block += name;
            block += QByteArray::number(point.year);
            block += ',';
            block += QByteArray::number(point.month);
            block += ',';
            block += NumberText::shortest(point.value);
            block += '\n';
            if (block.size() >= blockSize) {
                out.write(block);
                block.resize(0);
            }
        }
    }
    out.write(block);
}
