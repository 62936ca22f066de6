#include "table/SourceTable.h"

QString SourceTable::place(int row, int column) const {
    const QString name = column < table.columnCount()
                             ? FileText::shortened(FileText::decode(CellText::trimmed(table.cell(0, column))))
                             : QString();
    if (kind == Kind::Json)
        return QStringLiteral("Record %1, field \"%2\"").arg(table.line(row)).arg(name);
    QString text = QStringLiteral("Line %1, column %2").arg(table.cellLine(row, column)).arg(column + 1);
    if (!name.isEmpty())
        text += QStringLiteral(" (\"%1\")").arg(name);
    return text;
}

QString SourceTable::columnName(int column) const {
    return FileText::decode(CellText::trimmed(table.cell(0, column)));
}
