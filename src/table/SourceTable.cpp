#include "table/SourceTable.h"

QString SourceTable::place(int row, int column) const {
    const QString name = column < table.columnCount() ? columnName(column) : QString();
    if (kind == Kind::Json)
        return recordPlace(table.line(row), name);
    return linePlace(table.cellLine(row, column), column + 1, name);
}

QString SourceTable::linePlace(qint64 line, int column, const QString& name) {
    QString text = QStringLiteral("Line %1, column %2").arg(line).arg(column);
    if (!name.isEmpty())
        text += QStringLiteral(" (\"%1\")").arg(FileText::shortened(name));
    return text;
}

QString SourceTable::recordPlace(qint64 record, const QString& field) {
    return QStringLiteral("Record %1, field \"%2\"").arg(record).arg(FileText::shortened(field));
}

QString SourceTable::columnName(int column) const {
    return FileText::decode(CellText::trimmed(table.cell(0, column)));
}
