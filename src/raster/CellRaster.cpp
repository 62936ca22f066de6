#include "raster/CellRaster.h"

namespace {

constexpr int pixelBits = 8;
constexpr qint64 onePixel = qint64(1) << pixelBits;

qint64 truncated(qint64 v) {
    return v >> pixelBits;
}
qint64 fraction(qint64 v) {
    return v & (onePixel - 1);
}
// Quotient rounded down, with a remainder that is never negative.
void divide(qint64 dividend, qint64 divisor, qint64* quotient, qint64* remainder) {
    *quotient = dividend / divisor;
    *remainder = dividend % divisor;
    if (*remainder < 0) {
        --*quotient;
        *remainder += divisor;
    }
}

} // namespace

void CellRaster::begin(const QRect& region) {
    bounds = QRect(region.topLeft(), region.size().boundedTo(QSize(maxColumns, maxRows)));
    if (rows.size() < size_t(bounds.height())) {
        rows.resize(size_t(bounds.height()));
        cells.resize(rows.size() * (maxColumns + 1));
    }
    // A new stamp marks every cell and row of the last polygon as empty without clearing them.
    if (++stamp == 0) {
        for (Cell& cell : cells)
            cell.stamp = 0;
        for (Row& row : rows)
            row.stamp = 0;
        stamp = 1;
    }
    touched.clear();
    invalid = true;
    area = 0;
    cover = 0;
}

void CellRaster::recordCell() {
    if (!(area | cover))
        return;
    const int column = int(ex);
    const int row = int(ey);
    Cell& cell = cellAt(column, row);
    if (cell.stamp != stamp) {
        cell.stamp = stamp;
        cell.area = 0;
        cell.cover = 0;
    }
    cell.area += area;
    cell.cover += int(cover);
    Row& r = rows[size_t(row)];
    if (r.stamp != stamp) {
        r.stamp = stamp;
        r.first = r.last = column;
        touched.push_back(row);
    } else {
        r.first = qMin(r.first, column);
        r.last = qMax(r.last, column);
    }
}

void CellRaster::setCell(qint64 cx, qint64 cy) {
    const qint64 width = bounds.width();
    if (cx > width)
        cx = width;
    if (cx < 0)
        cx = -1;
    if (cx != ex || cy != ey) {
        if (!invalid)
            recordCell();
        area = 0;
        cover = 0;
        ex = cx;
        ey = cy;
    }
    invalid = quint64(cy) >= quint64(bounds.height()) || cx >= width;
}

void CellRaster::startCell(qint64 cx, qint64 cy) {
    const qint64 width = bounds.width();
    if (cx > width)
        cx = width;
    if (cx < 0)
        cx = -1;
    area = 0;
    cover = 0;
    ex = cx;
    ey = cy;
    invalid = false;
    setCell(cx, cy);
}

void CellRaster::addLeftCover(int row, int added) {
    if (row < 0 || row >= bounds.height() || added == 0)
        return;
    if (!invalid)
        recordCell();
    invalid = true;
    ex = -1;
    ey = row;
    area = 0;
    cover = added;
    recordCell();
    area = 0;
    cover = 0;
}

void CellRaster::moveTo(qint64 toX, qint64 toY) {
    if (!invalid)
        recordCell();
    x = toX - qint64(bounds.left()) * onePixel;
    y = toY - qint64(bounds.top()) * onePixel;
    startCell(truncated(x), truncated(y));
}

void CellRaster::lineTo(qint64 toX, qint64 toY) {
    renderLine(toX - qint64(bounds.left()) * onePixel, toY - qint64(bounds.top()) * onePixel);
}

// One row's piece of a line, from (x1, y1) to (x2, y2), y given within the row: split at every column.
void CellRaster::renderScanline(qint64 row, qint64 x1, qint64 y1, qint64 x2, qint64 y2) {
    qint64 ex1 = truncated(x1);
    const qint64 ex2 = truncated(x2);
    if (y1 == y2) {
        setCell(ex2, row);
        return;
    }
    qint64 fx1 = fraction(x1);
    const qint64 fx2 = fraction(x2);
    if (ex1 != ex2) {
        qint64 dx = x2 - x1;
        const qint64 dy = y2 - y1;
        qint64 p, first, incr;
        if (dx > 0) {
            p = (onePixel - fx1) * dy;
            first = onePixel;
            incr = 1;
        } else {
            p = fx1 * dy;
            first = 0;
            incr = -1;
            dx = -dx;
        }
        qint64 delta, mod;
        divide(p, dx, &delta, &mod);
        area += (fx1 + first) * delta;
        cover += delta;
        y1 += delta;
        ex1 += incr;
        setCell(ex1, row);
        if (ex1 != ex2) {
            qint64 lift, rem;
            divide(onePixel * dy, dx, &lift, &rem);
            do {
                delta = lift;
                mod += rem;
                if (mod >= dx) {
                    mod -= dx;
                    ++delta;
                }
                area += onePixel * delta;
                cover += delta;
                y1 += delta;
                ex1 += incr;
                setCell(ex1, row);
            } while (ex1 != ex2);
        }
        fx1 = onePixel - first;
    }
    const qint64 dy = y2 - y1;
    area += (fx1 + fx2) * dy;
    cover += dy;
}

void CellRaster::renderLine(qint64 toX, qint64 toY) {
    const qint64 height = bounds.height();
    qint64 ey1 = truncated(y);
    const qint64 ey2 = truncated(toY);
    // Lines wholly above or below the area add nothing to it.
    if ((ey1 >= height && ey2 >= height) || (ey1 < 0 && ey2 < 0)) {
        x = toX;
        y = toY;
        return;
    }
    const qint64 fy1 = fraction(y);
    const qint64 fy2 = fraction(toY);
    if (ey1 == ey2) {
        renderScanline(ey1, x, fy1, toX, fy2);
        x = toX;
        y = toY;
        return;
    }
    qint64 dx = toX - x;
    qint64 dy = toY - y;
    if (dx == 0) {
        // Vertical: a column of cells, whole rows in between; rows outside the area are passed over.
        const qint64 column = truncated(x);
        const qint64 twoFx = fraction(x) << 1;
        const qint64 first = dy > 0 ? onePixel : 0;
        qint64 delta = first - fy1;
        area += twoFx * delta;
        cover += delta;
        delta = first + first - onePixel;
        const qint64 rowArea = twoFx * delta;
        if (dy < 0) {
            if (ey1 > height) {
                ey1 = height > ey2 ? height : ey2;
                setCell(column, ey1);
            } else {
                --ey1;
                setCell(column, ey1);
            }
            while (ey1 > ey2 && ey1 >= 0) {
                area += rowArea;
                cover += delta;
                --ey1;
                setCell(column, ey1);
            }
            if (ey1 != ey2) {
                ey1 = ey2;
                setCell(column, ey1);
            }
        } else {
            if (ey1 < 0) {
                ey1 = 0 < ey2 ? 0 : ey2;
                setCell(column, ey1);
            } else {
                ++ey1;
                setCell(column, ey1);
            }
            while (ey1 < ey2 && ey1 < height) {
                area += rowArea;
                cover += delta;
                ++ey1;
                setCell(column, ey1);
            }
            if (ey1 != ey2) {
                ey1 = ey2;
                setCell(column, ey1);
            }
        }
        delta = fy2 - onePixel + first;
        area += twoFx * delta;
        cover += delta;
        x = toX;
        y = toY;
        return;
    }
    // Several rows: split where the line crosses each row's boundary, x rounded down as it accumulates.
    qint64 p, first, incr;
    if (dy > 0) {
        p = (onePixel - fy1) * dx;
        first = onePixel;
        incr = 1;
    } else {
        p = fy1 * dx;
        first = 0;
        incr = -1;
        dy = -dy;
    }
    qint64 delta, mod;
    divide(p, dy, &delta, &mod);
    qint64 px = x + delta;
    renderScanline(ey1, x, fy1, px, first);
    ey1 += incr;
    setCell(truncated(px), ey1);
    if (ey1 != ey2) {
        qint64 lift, rem;
        divide(onePixel * dx, dy, &lift, &rem);
        do {
            delta = lift;
            mod += rem;
            if (mod >= dy) {
                mod -= dy;
                ++delta;
            }
            const qint64 px2 = px + delta;
            renderScanline(ey1, px, onePixel - first, px2, first);
            px = px2;
            ey1 += incr;
            setCell(truncated(px), ey1);
        } while (ey1 != ey2);
    }
    renderScanline(ey1, px, onePixel - first, toX, fy2);
    x = toX;
    y = toY;
}

int CellRaster::coverageOf(qint64 a) {
    int coverage = int(a >> (pixelBits * 2 + 1 - 8));
    if (coverage < 0)
        coverage = -coverage;
    // Odd-even rule.
    coverage &= 511;
    if (coverage > 256)
        coverage = 512 - coverage;
    else if (coverage == 256)
        coverage = 255;
    return coverage;
}
