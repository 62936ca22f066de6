#include "table/CellText.h"

#include "data/NumberParser.h"

#include <cstring>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool equalsIgnoringCase(TextSpan text, const char* word) {
    const size_t length = std::strlen(word);
    if (size_t(text.size()) != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        char c = text.begin[i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != word[i])
            return false;
    }
    return true;
}

bool wholeNumber(const char* begin, const char* end, double& number) {
    return begin < end && NumberParser::parseDouble(begin, end, number) == end;
}

// "1.234.567,89" as "1234567.89": dots only between groups of three digits, at most one comma.
bool parseDecimalComma(TextSpan text, double& number) {
    char buffer[64];
    size_t length = 0;
    int digitsInGroup = 0;
    bool grouped = false;
    bool afterComma = false;
    bool exponent = false;
    for (const char* p = text.begin; p < text.end; ++p) {
        if (length + 1 >= sizeof buffer)
            return false;
        const char c = *p;
        if (c == '.' && !afterComma && !exponent) {
            if (digitsInGroup == 0 || digitsInGroup > 3 || (grouped && digitsInGroup != 3))
                return false;
            grouped = true;
            digitsInGroup = 0;
            continue;
        }
        if (c == ',') {
            if (afterComma || exponent || (grouped && digitsInGroup != 3))
                return false;
            afterComma = true;
            buffer[length++] = '.';
            continue;
        }
        if (isDigit(c) && !afterComma && !exponent)
            ++digitsInGroup;
        if (c == 'e' || c == 'E') {
            if (grouped && !afterComma && digitsInGroup != 3)
                return false;
            exponent = true;
        }
        buffer[length++] = c;
    }
    if (grouped && !afterComma && !exponent && digitsInGroup != 3)
        return false;
    return wholeNumber(buffer, buffer + length, number);
}

} // namespace

TextSpan CellText::trimmed(TextSpan text) {
    while (text.begin < text.end && isBlank(*text.begin))
        ++text.begin;
    while (text.end > text.begin && isBlank(text.end[-1]))
        --text.end;
    return text;
}

bool CellText::isMissing(TextSpan text) {
    text = trimmed(text);
    if (text.size() == 0)
        return true;
    if (text.size() > 4)
        return false;
    for (const char* word : {"na", "n/a", "nan", "null", "-", ".."})
        if (equalsIgnoringCase(text, word))
            return true;
    return false;
}

bool CellText::parseNumber(TextSpan text, DecimalMark mark, double& number) {
    text = trimmed(text);
    number = 0.0;
    if (mark == DecimalMark::Comma)
        return parseDecimalComma(text, number);
    return wholeNumber(text.begin, text.end, number);
}

bool CellText::parseInteger(TextSpan text, qint32& number) {
    text = trimmed(text);
    const char* end = NumberParser::parseInteger(text.begin, text.end, number);
    return end != text.begin && end == text.end;
}
