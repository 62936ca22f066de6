#include "import/ColumnKinds.h"

#include "table/SourceTable.h"

#include <algorithm>
#include <cstring>

namespace {

ColumnKind kindOf(const SourceTable& source, int column) {
    const TextTable& table = source.table;
    ColumnKind result;
    // The rows that hold the first values of the column (a series of a wide table may start late).
    int rows = 1;
    for (int values = 0; rows < table.rowCount() && values < ColumnKinds::sampleValues; ++rows)
        values += !CellText::isMissing(table.cell(rows, column));
    // With semicolons, a column whose numbers only read with a decimal point keeps the point.
    if (source.mark == CellText::DecimalMark::Comma) {
        int comma = 0;
        int point = 0;
        double number = 0.0;
        for (int row = 1; row < rows; ++row) {
            const TextSpan cell = table.cell(row, column);
            comma += CellText::parseNumber(cell, CellText::DecimalMark::Comma, number);
            point += CellText::parseNumber(cell, CellText::DecimalMark::Point, number);
        }
        result.mark = point > comma ? CellText::DecimalMark::Point : CellText::DecimalMark::Comma;
    }
    int values = 0;
    int dates = 0;
    int yearLike = 0;
    int numbers = 0;
    TextSpan firstValue;
    for (int row = 1; row < rows; ++row) {
        const TextSpan cell = CellText::trimmed(table.cell(row, column));
        if (CellText::isMissing(cell))
            continue;
        ++values;
        if (values == 1)
            firstValue = cell;
        else if (!result.varies)
            result.varies = cell.size() != firstValue.size() ||
                            std::memcmp(cell.begin, firstValue.begin, size_t(cell.size())) != 0;
        double number = 0.0;
        const bool isNumber = CellText::parseNumber(cell, result.mark, number);
        const DateText::Date date = DateText::parse(cell);
        dates += date.ok() && !isNumber;
        yearLike += date.ok() && isNumber;
        numbers += isNumber;
    }
    if (values == 0)
        return result;
    if (2 * dates >= values)
        result.kind = ColumnKind::Kind::Date;
    else if (yearLike == values)
        result.kind = ColumnKind::Kind::YearLike;
    else if (2 * numbers >= values)
        result.kind = ColumnKind::Kind::Number;
    else
        result.kind = ColumnKind::Kind::Text;

    // A long table sorted by series may show one name throughout its sample: a text column is read
    // on until its first other value.
    if (result.kind == ColumnKind::Kind::Text) {
        for (int row = rows; row < table.rowCount() && !result.varies; ++row) {
            const TextSpan cell = CellText::trimmed(table.cell(row, column));
            result.varies = !CellText::isMissing(cell) &&
                            (cell.size() != firstValue.size() ||
                             std::memcmp(cell.begin, firstValue.begin, size_t(cell.size())) != 0);
        }
    }
    for (int row = 1; row < rows && result.firstOther < 0; ++row) {
        const TextSpan cell = CellText::trimmed(table.cell(row, column));
        if (CellText::isMissing(cell))
            continue;
        double number = 0.0;
        const bool isNumber = CellText::parseNumber(cell, result.mark, number);
        // A text column's first value that is no number is what made it text.
        const bool fits =
            result.kind == ColumnKind::Kind::Date ? DateText::parse(cell).ok() && !isNumber : isNumber;
        if (!fits)
            result.firstOther = row;
    }
    return result;
}

} // namespace

QVector<ColumnKind> ColumnKinds::of(const SourceTable& source) {
    QVector<ColumnKind> kinds;
    for (int column = 0; column < source.table.columnCount(); ++column)
        kinds << kindOf(source, column);
    return kinds;
}
