#pragma once

#include "table/CellText.h"
#include "table/DateText.h"

#include <QVector>

struct SourceTable;

// What a sample of a table's rows says each column holds. A column is of dates when at least half of
// its values are dates that are no plain numbers; of year-like numbers (1880, 202012) when all its
// values are; of numbers when at least half are numbers; else of text. Empty and missing cells
// (NA, null, ...) say nothing.
struct ColumnKind {
    enum class Kind { Empty, Date, YearLike, Number, Text };
    Kind kind = Kind::Empty;
    CellText::DecimalMark mark = CellText::DecimalMark::Point;
    bool varies = false; // text: not one value throughout, to tell series names from a constant
    // The first row whose value is no date (a date column) or no number (any other), or -1.
    int firstOther = -1;

    bool numeric() const { return kind == Kind::Number || kind == Kind::YearLike; }
};

class ColumnKinds {
public:
    // Values of each column that role detection reads.
    static constexpr int sampleValues = 200;
    static QVector<ColumnKind> of(const SourceTable& source);
};
