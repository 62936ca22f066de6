#include "data/NumberText.h"

#include <charconv>

QByteArray NumberText::shortest(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, int(result.ptr - buffer));
}

QByteArray NumberText::csvField(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    // Readers trim spaces and tabs at the ends of unquoted fields.
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const bool blankEnds = !utf8.isEmpty() && (isBlank(utf8.front()) || isBlank(utf8.back()));
    if (!blankEnds && !utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') &&
        !utf8.contains('\r'))
        return utf8;
    utf8.replace("\"", "\"\"");
    return '"' + utf8 + '"';
}
