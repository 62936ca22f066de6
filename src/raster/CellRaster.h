#pragma once

#include <QRect>
#include <QtGlobal>

#include <vector>

// The coverage of a polygon on pixels, computed cell by cell as Qt's antialiasing rasterizer computes it:
// coordinates in 1/256 pixel, each line split at pixel rows and then at pixel columns with the crossing
// points rounded down as it rounds them, every cell accumulating its share of the polygon's area and
// cover, and a sweep along each row turning them into coverages 0..255 (odd-even rule). Only an area of
// at most maxColumns × maxRows pixels is rasterized at a time: cells left of it keep only their cover,
// cells right of, above and below it are dropped, as the rasterizer clips to its device.
class CellRaster {
public:
    static constexpr int maxColumns = 256;
    static constexpr int maxRows = 1024;

    // A new polygon over area (device pixels, within the limits above).
    void begin(const QRect& region);
    // Points in 1/256 pixel of the device.
    void moveTo(qint64 x, qint64 y);
    void lineTo(qint64 x, qint64 y);
    // Cover added left of the area in a row, as a part of the polygon there would add it; in 1/256 pixel,
    // signed as the polygon's direction gives it.
    void addLeftCover(int row, int cover);

    // Calls span(x, y, length, coverage) for every run of pixels of the area with a coverage, row by row.
    template <typename Span> void sweep(Span span);

private:
    struct Cell {
        qint64 area = 0;
        int cover = 0;
        unsigned stamp = 0;
    };
    struct Row {
        int first = 0; // columns with cells, relative to the area's left, -1 for the cells left of it
        int last = -1;
        unsigned stamp = 0;
    };

    void setCell(qint64 ex, qint64 ey);
    void startCell(qint64 ex, qint64 ey);
    void recordCell();
    void renderLine(qint64 toX, qint64 toY);
    void renderScanline(qint64 ey, qint64 x1, qint64 y1, qint64 x2, qint64 y2);
    Cell& cellAt(int column, int row) { return cells[size_t(row) * (maxColumns + 1) + size_t(column + 1)]; }
    static int coverageOf(qint64 area);
    template <typename Span> void spanOf(int x, int y, qint64 area, int length, Span& span);

    QRect bounds;
    unsigned stamp = 0;
    qint64 x = 0, y = 0;   // the pen
    qint64 ex = 0, ey = 0; // the current cell, relative to the area
    qint64 area = 0;
    qint64 cover = 0;
    bool invalid = true;
    // Grown to the most rows a polygon has needed, so that a thin band costs little memory.
    std::vector<Cell> cells;
    std::vector<Row> rows;
    std::vector<int> touched;
};

template <typename Span> void CellRaster::spanOf(int x, int y, qint64 a, int length, Span& span) {
    const int coverage = coverageOf(a);
    if (coverage)
        span(bounds.left() + x, bounds.top() + y, length, coverage);
}

template <typename Span> void CellRaster::sweep(Span span) {
    if (!invalid)
        recordCell();
    invalid = true;
    const int width = bounds.width();
    for (int row : touched) {
        const Row& r = rows[size_t(row)];
        qint64 c = 0;
        int next = 0; // the first column not yet given a coverage
        for (int column = r.first; column <= r.last; ++column) {
            const Cell& cell = cellAt(column, row);
            if (cell.stamp != stamp)
                continue;
            if (column > next && c != 0)
                spanOf(next, row, c * 512, column - next, span);
            c += cell.cover;
            const qint64 a = c * 512 - cell.area;
            if (a != 0 && column >= 0)
                spanOf(column, row, a, 1, span);
            next = column + 1;
        }
        if (width > next && c != 0)
            spanOf(next, row, c * 512, width - next, span);
    }
}
