#include "import/DataSetSummary.h"

#include "data/DataFileReader.h"
#include "data/MonthRange.h"
#include "data/MonthText.h"
#include "import/ImportReport.h"

#include <QStringList>

#include <algorithm>

namespace {

// Quoted with C-like escapes, so leading spaces, quotes and line breaks in file texts show;
// very long texts (a file without its header makes the whole file the unit) are cut short.
QString quoted(const QString& text) {
    constexpr qsizetype limit = 80;
    QString result = QStringLiteral("\"");
    for (qsizetype i = 0; i < std::min(text.size(), limit); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            result += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            result += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            result += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            result += QStringLiteral("\\r");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    result += QLatin1Char('"');
    if (text.size() > limit)
        result += QStringLiteral("... (%1 characters)").arg(text.size());
    return result;
}

} // namespace

QString DataSetSummary::describe(const DataFileResult& result, const ImportReport* report) {
    if (!result.ok())
        return QStringLiteral("Error: ") + result.error + QLatin1Char('\n');

    const DataSet& data = result.data;
    QStringList lines;
    lines << QStringLiteral("Unit: %1, %2 the value")
                 .arg(quoted(data.unitText),
                      data.unitAfterValue ? QStringLiteral("after") : QStringLiteral("before"));
    QStringList suffixes;
    for (const QString& suffix : data.magnitudeSuffixes)
        suffixes << quoted(suffix);
    lines << QStringLiteral("Suffixes: %1")
                 .arg(suffixes.isEmpty() ? QStringLiteral("none") : suffixes.join(QLatin1Char(' ')));
    lines << QStringLiteral("Series: %1").arg(data.series.size());

    qint64 points = 0;
    const DataPoint* first = nullptr;
    const DataPoint* last = nullptr;
    for (const DataSeries& s : data.series) {
        points += s.points.size();
        if (s.points.isEmpty())
            continue;
        if (!first || MonthRange::count(s.points.first()) < MonthRange::count(*first))
            first = &s.points.first();
        if (!last || MonthRange::count(s.points.last()) > MonthRange::count(*last))
            last = &s.points.last();
    }
    if (first)
        lines << QStringLiteral("Months: %1 to %2")
                     .arg(MonthText::padded(first->year, first->month),
                          MonthText::padded(last->year, last->month));
    else
        lines << QStringLiteral("Months: none");
    lines << QStringLiteral("Points: %1").arg(points);
    lines << QStringLiteral("Dropped series (fewer than two points): %1 of %2 read")
                 .arg(result.droppedSeries)
                 .arg(result.seriesRead);
    if (report)
        lines << report->lines();
    else if (result.rowsRead >= 0)
        lines << QStringLiteral("Rows read: %1").arg(result.rowsRead);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
