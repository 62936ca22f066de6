#pragma once

#include <QByteArray>
#include <QString>

// Texts for machine-readable output, independent of the locale.
class NumberText {
public:
    // The shortest decimal text that reads back to exactly the same double.
    static QByteArray shortest(double value);
    // A CSV field: quoted (with doubled quotes) when it holds a comma, quote or line break, or begins or
    // ends with a space or tab.
    static QByteArray csvField(const QString& text);
};
