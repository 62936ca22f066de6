#include "import/ImportOptions.h"

bool ImportOptions::operator==(const ImportOptions& other) const {
    return dateColumn == other.dateColumn && seriesColumn == other.seriesColumn &&
           valueColumn == other.valueColumn && aggregate == other.aggregate && dateOrder == other.dateOrder &&
           skipRows == other.skipRows;
}

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
