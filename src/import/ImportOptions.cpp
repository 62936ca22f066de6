#include "import/ImportOptions.h"

const QStringList& ImportOptions::aggregateNames() {
    static const QStringList names = {QStringLiteral("sum"), QStringLiteral("mean"),  QStringLiteral("min"),
                                      QStringLiteral("max"), QStringLiteral("first"), QStringLiteral("last")};
    return names;
}

const QStringList& ImportOptions::dateOrderNames() {
    static const QStringList names = {QStringLiteral("auto"), QStringLiteral("day-first"),
                                      QStringLiteral("month-first")};
    return names;
}
