#include "data/MonthText.h"

QString MonthText::of(qint64 year, qint64 month) {
    return QString::number(year) + QLatin1Char('.') + QString::number(month);
}

QString MonthText::padded(qint64 year, qint64 month) {
    return QString::number(year) + QLatin1Char('.') +
           QStringLiteral("%1").arg(month, 2, 10, QLatin1Char('0'));
}
