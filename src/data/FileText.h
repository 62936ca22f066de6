#pragma once

#include <QString>

// Bytes of a file that stand for a text.
struct TextSpan {
    const char* begin = nullptr;
    const char* end = nullptr;
    qsizetype size() const { return end - begin; }
};

// Texts as files give them: UTF-8 when they are valid UTF-8, else taken byte by byte (Latin-1).
class FileText {
public:
    static bool isValidUtf8(TextSpan text);
    // A text that begins with the bytes of U+FEFF keeps the character (QString::fromUtf8 would drop it).
    static QString decode(TextSpan text);
    // Long names and junk texts are cut short so that error messages stay readable.
    static QString shortened(const QString& text);
};
