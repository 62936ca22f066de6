#include "data/NumberParser.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

#include <locale.h>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

} // namespace

const char* NumberParser::parseInteger(const char* p, const char* end, qint32& result) {
    const char* const start = p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const qint64 limit =
        negative ? -qint64(std::numeric_limits<qint32>::min()) : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    const char* const digits = p;
    for (; p < end && isDigit(*p); ++p)
        magnitude = std::min(limit, magnitude * 10 + (*p - '0'));
    result = qint32(negative ? -magnitude : magnitude);
    // A sign alone is no number.
    return p == digits ? start : p;
}

const char* NumberParser::parseDouble(const char* p, const char* end, double& result) {
    static const double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* start = p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    quint64 mantissa = 0; // wraps for long digit runs, but is then not used
    const char* digits = p;
    for (; p < end && isDigit(*p); ++p)
        mantissa = mantissa * 10 + quint64(*p - '0');
    qsizetype count = p - digits;
    qsizetype fractionDigits = 0;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        for (; p < end && isDigit(*p); ++p)
            mantissa = mantissa * 10 + quint64(*p - '0');
        fractionDigits = p - fraction;
        count += fractionDigits;
    }
    if (count == 0) {
        result = 0.0;
        return start;
    }
    bool exponent = false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        const char* exponentDigits = q;
        while (q < end && isDigit(*q))
            ++q;
        if (q > exponentDigits) {
            p = q;
            exponent = true;
        }
    }
    // Up to 15 digits the mantissa and the power of ten are exact doubles, so one division
    // gives the correctly rounded value, the same that from_chars gives, only faster.
    if (!exponent && count <= 15) {
        const double value = double(mantissa) / powersOfTen[fractionDigits];
        result = negative ? -value : value;
        return p;
    }
    if (*start == '+')
        ++start;
    double value = 0.0;
    const auto converted = std::from_chars(start, p, value);
    if (converted.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; strtod tells them apart.
        const std::string text(start, p);
        value = strtod_l(text.c_str(), nullptr, cLocale());
    }
    result = value;
    return p;
}
