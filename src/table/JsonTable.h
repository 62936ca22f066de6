#pragma once

#include "table/SourceTable.h"

#include <QByteArray>

// Reads JSON records - an array of flat objects, [{"series": "A", "date": "2000-01-01", "count": 5}, ...],
// or an object whose one member is such an array - into a table of cells: one column a key (in the
// order Qt's JSON reader gives them, which sorts each object's keys), one row an object. Strings are taken as
// they are, numbers in their shortest form, null and absent keys as empty cells, true and false as text. A
// nested array or object is refused, with the record and key.
class JsonTable {
public:
    static SourceTable read(const QByteArray& bytes);
};
