#include "table/TextTable.h"

#include <algorithm>

TextSpan TextTable::cell(int row, int column) const {
    const size_t index = rowStart(row) + size_t(column);
    const size_t begin = index == 0 ? 0 : cellEnds[index - 1];
    return {bytes.data() + begin, bytes.data() + cellEnds[index]};
}

qint64 TextTable::cellLine(int row, int column) const {
    qint64 line = rowLines[size_t(row)];
    for (int c = 0; c < column && c < cellCount(row); ++c) {
        const TextSpan text = cell(row, c);
        line += lineBreaks(text.begin, text.end);
    }
    return line;
}

qint64 TextTable::lineBreaks(const char* begin, const char* end) {
    qint64 count = 0;
    for (const char* p = begin; p < end; ++p)
        count += *p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'));
    return count;
}

bool TextTable::appendCell(const char* data, size_t size) {
    if (size > maxBytes - bytes.size() || cellEnds.size() >= maxCells)
        return false;
    if (size > 0)
        bytes.append(data, size);
    cellEnds.push_back(quint32(bytes.size()));
    return true;
}

void TextTable::endRow(qint64 line) {
    rowEnds.push_back(quint32(cellEnds.size()));
    rowLines.push_back(quint32(line));
}

void TextTable::dropOpenRow() {
    const size_t start = rowEnds.empty() ? 0 : rowEnds.back();
    const size_t begin = start == 0 ? 0 : cellEnds[start - 1];
    cellEnds.resize(start);
    bytes.resize(begin);
}

void TextTable::reserve(size_t byteCount, size_t cells) {
    bytes.reserve(std::min(byteCount, maxBytes));
    cellEnds.reserve(cells);
}
