#pragma once

#include <QtGlobal>

// Numbers at the start of a text, read the same whatever the locale. Each returns where the number
// ends: the start itself when there is none (the result is then 0).
class NumberParser {
public:
    // Optional sign and decimal digits. Saturates instead of overflowing.
    static const char* parseInteger(const char* p, const char* end, qint32& result);
    // Optional sign, digits with an optional fraction after ".", optional exponent. Only that prefix is
    // converted, so "inf", "nan" and "0x1p3" give no number.
    static const char* parseDouble(const char* p, const char* end, double& result);
};
