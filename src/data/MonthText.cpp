#include "data/MonthText.h"

QString MonthText::of(qint64 year, qint64 month) {
    return QString::number(year) + QLatin1Char('.') + QString::number(month);
}

QString MonthText::padded(qint64 year, qint64 month) {
    return QString::number(year) + QLatin1Char('.') +
           QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
}

QString MonthText::shortName(qint64 month) {
    static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? QString::fromLatin1(names[month - 1]) : QString();
}

QString MonthText::named(qint64 year, qint64 month) {
    const QString name = shortName(month);
    return (name.isEmpty() ? QString::number(month) : name) + QLatin1Char(' ') + QString::number(year);
}
