#pragma once

#include "data/FileText.h"

#include <QtGlobal>

#include <string>
#include <vector>

// A table as a file gave it: rows of cells, each cell the bytes it held (quotes already taken off),
// with the line each row starts on. All cells share one buffer, so a large file costs two small
// numbers a cell beside its bytes.
class TextTable {
public:
    int rowCount() const { return int(rowLines.size()); }
    int cellCount(int row) const { return int(rowEnds[size_t(row)] - rowStart(row)); }
    // The header's cells: every row has as many.
    int columnCount() const { return rowLines.empty() ? 0 : cellCount(0); }
    TextSpan cell(int row, int column) const;
    // The line the row starts on, and the line of one of its cells (later when a quoted cell before it
    // spans lines).
    qint64 line(int row) const { return rowLines[size_t(row)]; }
    qint64 cellLine(int row, int column) const;
    // Line breaks in a text: CR LF, LF and CR each count once.
    static qint64 lineBreaks(const char* begin, const char* end);

    // False, adding nothing, once the table would hold more bytes than its offsets can count.
    bool appendCell(const char* data, size_t size);
    void endRow(qint64 line);
    // The cells appended since the last row ended, dropped.
    void dropOpenRow();
    int openCells() const { return int(cellEnds.size() - (rowEnds.empty() ? 0 : size_t(rowEnds.back()))); }
    TextSpan openCell(int column) const { return cell(rowCount(), column); }
    void reserve(size_t bytes, size_t cells);

    // Bytes of all cells together, and cells; more would not fit the offsets.
    static constexpr size_t maxBytes = 0xFFFFFFF0u;
    static constexpr size_t maxCells = 0xFFFFFFF0u;

private:
    size_t rowStart(int row) const { return row == 0 ? 0 : rowEnds[size_t(row) - 1]; }

    std::string bytes;
    std::vector<quint32> cellEnds; // where each cell ends in bytes
    std::vector<quint32> rowEnds;  // where each row ends in cellEnds
    std::vector<quint32> rowLines; // the line each row starts on (a file of 2 GB has fewer)
};
