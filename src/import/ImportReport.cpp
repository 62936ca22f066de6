#include "import/ImportReport.h"

#include <QLocale>

namespace {

QString number(qint64 n) {
    return QLocale::c().toString(n);
}

QString plural(qint64 n, const char* one, const char* many) {
    return number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// Columns named in one line at most; the rest are counted.
constexpr int shown = 20;

} // namespace

QString ImportReport::binningText() const {
    const QString rule = ImportOptions::aggregateNames()[int(aggregate)];
    QString text = QStringLiteral("%1 from %2 went into %3")
                       .arg(plural(values, "value", "values"), plural(rows, "row", "rows"),
                            plural(bins.months, "month", "months"));
    if (bins.combinedMonths > 0)
        text += QStringLiteral("; %1 shared by %2 combined by %3")
                    .arg(plural(bins.combinedMonths, "month", "months"),
                         plural(bins.combinedValues, "value", "values"), rule);
    else
        text += QStringLiteral(", one value a month (rule: %1)").arg(rule);
    return text + QLatin1Char('.');
}

QStringList ImportReport::lines() const {
    const auto name = [this](int column) {
        return column >= 0 && column < columnNames.size() && !columnNames[column].isEmpty()
                   ? QLatin1Char('"') + columnNames[column] + QLatin1Char('"')
                   : QStringLiteral("column %1").arg(column + 1);
    };
    QStringList lines;
    if (json)
        lines << QStringLiteral("Table: JSON records");
    else
        lines << QStringLiteral("Table: separated by %1%2")
                     .arg(delimiter == '\t'  ? QStringLiteral("tabs")
                          : delimiter == ';' ? QStringLiteral("semicolons")
                                             : QStringLiteral("commas"),
                          decimalComma ? QStringLiteral(", decimal commas") : QString());
    if (!skippedRows.isEmpty())
        lines << QStringLiteral("Rows above the header left out: %1 (%2)%3")
                     .arg(skippedRows.size())
                     .arg(QLatin1Char('"') + skippedRows.mid(0, 3).join(QStringLiteral("\", \"")) +
                              QLatin1Char('"') +
                              (skippedRows.size() > 3 ? QStringLiteral(", ...") : QString()),
                          skipFound ? QStringLiteral(" (to change: --skip-rows)") : QString());
    if (roles.monthColumn >= 0)
        lines << QStringLiteral("Dates: years from %1, months from %2")
                     .arg(name(roles.dateColumn), name(roles.monthColumn));
    else
        lines << QStringLiteral("Dates: %1").arg(name(roles.dateColumn));
    if (!dateOrderNote.isEmpty())
        lines << QStringLiteral("Date order: ") + dateOrderNote;
    if (roles.isLong()) {
        lines << QStringLiteral("Series: named by %1").arg(name(roles.seriesColumn));
        lines << QStringLiteral("Values: %1").arg(name(roles.valueColumns.value(0)));
    } else {
        QStringList names;
        for (int column : roles.valueColumns.mid(0, shown))
            names << name(column);
        if (roles.valueColumns.size() > shown)
            names << QStringLiteral("%1 more").arg(roles.valueColumns.size() - shown);
        lines << QStringLiteral("Series: one a column, %1").arg(names.join(QStringLiteral(", ")));
    }
    for (const QString& guess : roles.guesses)
        lines << QStringLiteral("Guessed: ") + guess;
    if (!roles.leftOut.isEmpty()) {
        QStringList names;
        for (int column : roles.leftOut.mid(0, shown)) {
            const ColumnKind& kind = roles.kinds[column];
            names << name(column) + (kind.kind == ColumnKind::Kind::Text    ? QStringLiteral(" (text)")
                                     : kind.kind == ColumnKind::Kind::Empty ? QStringLiteral(" (empty)")
                                     : kind.kind == ColumnKind::Kind::Date  ? QStringLiteral(" (dates)")
                                                                            : QStringLiteral(" (numbers)"));
        }
        if (roles.leftOut.size() > shown)
            names << QStringLiteral("%1 more").arg(roles.leftOut.size() - shown);
        lines << QStringLiteral("Columns left out: ") + names.join(QStringLiteral(", "));
    }
    lines << QStringLiteral("Rows read: %1").arg(rows);
    lines << QStringLiteral("Binned: ") + binningText();
    if (missing > 0)
        lines << QStringLiteral("Cells with no value (empty, NA, null, ...): %1").arg(missing);
    if (totalRows > 0)
        lines << QStringLiteral("Annual totals skipped (month 13 of YYYYMM): %1")
                     .arg(plural(totalRows, "row", "rows"));
    if (bins.negativeMonths > 0)
        lines << QStringLiteral("Months below zero, drawn as 0: %1").arg(bins.negativeMonths);
    return lines;
}
