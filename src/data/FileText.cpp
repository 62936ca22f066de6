#include "data/FileText.h"

#include <cstring>

bool FileText::isValidUtf8(TextSpan text) {
    auto p = reinterpret_cast<const unsigned char*>(text.begin);
    const auto end = reinterpret_cast<const unsigned char*>(text.end);
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        char32_t code;
        char32_t smallest;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1F;
            smallest = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0F;
            smallest = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

QString FileText::decode(TextSpan text) {
    if (!isValidUtf8(text))
        return QString::fromLatin1(text.begin, text.size());
    static constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
    if (text.size() >= 3 && std::memcmp(text.begin, byteOrderMark, 3) == 0)
        return QChar(0xFEFF) + QString::fromUtf8(text.begin + 3, text.size() - 3);
    return QString::fromUtf8(text.begin, text.size());
}

QString FileText::shortened(const QString& text) {
    constexpr qsizetype limit = 60;
    if (text.size() <= limit)
        return text;
    return text.left(limit) + QChar(0x2026);
}
