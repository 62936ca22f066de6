#pragma once

#include "data/FileText.h"

// What a table cell holds when it is no date: no value, a number, or text.
class CellText {
public:
    // Blanks around a cell are not part of it.
    static TextSpan trimmed(TextSpan text);
    // Empty, NA, N/A, NaN, null, "-" or ".." (any case): a value that was not measured.
    static bool isMissing(TextSpan text);
    // Point: "1234.5"; Comma, as spreadsheets in much of Europe write numbers: "1234,5" or "1.234,5",
    // dots only between groups of three digits.
    enum class DecimalMark { Point, Comma };
    // A number, the whole (trimmed) text, read the same in any locale: optional sign, digits with an
    // optional fraction, optional exponent. Nothing else is a number: "inf", "0x10", "1,5" with a point.
    static bool parseNumber(TextSpan text, DecimalMark mark, double& number);
    // A whole number, the whole (trimmed) text: optional sign and digits, held at qint32's limits.
    static bool parseInteger(TextSpan text, qint32& number);
};
