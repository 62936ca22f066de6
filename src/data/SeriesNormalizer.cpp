#include "data/SeriesNormalizer.h"

#include "data/FileText.h"
#include "data/MonthRange.h"
#include "data/MonthText.h"

#include <algorithm>
#include <vector>

namespace {

QString seriesLabel(const DataSeries& series) {
    return QStringLiteral("\"%1\"").arg(FileText::shortened(series.name));
}

// Checks the sorted series and the whole set before anything is filled, so a refused file
// costs no memory for its gaps. Also notes which series already have one point per month.
QString checkSpans(const QVector<DataSeries>& series, std::vector<bool>& regular) {
    qint64 totalPoints = 0;
    regular.assign(size_t(series.size()), true);
    for (qsizetype k = 0; k < series.size(); ++k) {
        const DataSeries& s = series[k];
        for (qsizetype i = 0; i + 1 < s.points.size(); ++i) {
            const qint64 distance = MonthRange::count(s.points[i + 1]) - MonthRange::count(s.points[i]);
            if (distance != 1)
                regular[size_t(k)] = false;
            if (distance - 1 > SeriesNormalizer::maxFilledGap) {
                return QStringLiteral("Series %1: between the points %2 and %3 lie %4 missing months; "
                                      "gaps of more than %5 months are not filled.")
                    .arg(seriesLabel(s), MonthText::padded(s.points[i].year, s.points[i].month),
                         MonthText::padded(s.points[i + 1].year, s.points[i + 1].month),
                         QString::number(distance - 1), QString::number(SeriesNormalizer::maxFilledGap));
            }
        }
        totalPoints += MonthRange::count(s.points.last()) - MonthRange::count(s.points.first()) + 1;
    }
    if (series.isEmpty())
        return QString();

    // Series are sorted by their first month, so the first one starts earliest.
    const DataSeries& earliest = series.first();
    const DataSeries* latest = &series.first();
    for (const DataSeries& s : series) {
        if (MonthRange::count(s.points.last()) > MonthRange::count(latest->points.last()))
            latest = &s;
    }
    const DataPoint& first = earliest.points.first();
    const DataPoint& last = latest->points.last();
    const qint64 span = MonthRange::count(last) - MonthRange::count(first);
    if (span > SeriesNormalizer::maxMonthSpan) {
        return QStringLiteral("The data spans %1 months, from %2 (series %3) to %4 (series %5); "
                              "at most %6 months are allowed.")
            .arg(QString::number(span), MonthText::padded(first.year, first.month), seriesLabel(earliest),
                 MonthText::padded(last.year, last.month), seriesLabel(*latest),
                 QString::number(SeriesNormalizer::maxMonthSpan));
    }
    if (totalPoints > SeriesNormalizer::maxTotalPoints) {
        return QStringLiteral("Filling every series to one point per month would give %1 points; "
                              "at most %2 are allowed.")
            .arg(totalPoints)
            .arg(SeriesNormalizer::maxTotalPoints);
    }
    return QString();
}

// One point per month: a later point in the same month is dropped, a gap is filled by linear
// interpolation between its two ends. Returns how many points were dropped.
qint64 normalise(QVector<DataPoint>& points) {
    qint64 dropped = 0;
    QVector<DataPoint> result;
    result.reserve(qsizetype(MonthRange::count(points.last()) - MonthRange::count(points.first()) + 1));
    result.append(points.first());
    for (qsizetype k = 1; k < points.size(); ++k) {
        const DataPoint from = result.last();
        const DataPoint& to = points[k];
        const qint64 start = MonthRange::count(from);
        const qint64 distance = MonthRange::count(to) - start;
        if (distance == 0) {
            ++dropped;
            continue;
        }
        const double a = from.value;
        const double b = to.value;
        for (qint64 j = 1; j < distance; ++j) {
            const qint64 index = start + j;
            DataPoint inserted;
            qint64 year = 0;
            qint64 month = 0;
            MonthRange::fromCount(index, &year, &month);
            inserted.year = qint32(year);
            inserted.month = qint32(month);
            inserted.value = a + (double(j) / double(distance)) * (b - a);
            result.append(inserted);
        }
        result.append(to);
    }
    points = std::move(result);
    return dropped;
}

bool pointBefore(const DataPoint& a, const DataPoint& b) {
    return a.year < b.year || (a.year == b.year && a.month < b.month);
}

} // namespace

QString SeriesNormalizer::normalize(QVector<DataSeries>& series, int* dropped, qint64* duplicates) {
    const qsizetype before = series.size();
    series.erase(
        std::remove_if(series.begin(), series.end(), [](const DataSeries& s) { return s.points.size() < 2; }),
        series.end());
    if (dropped)
        *dropped = int(before - series.size());
    for (DataSeries& s : series) {
        if (!std::is_sorted(s.points.begin(), s.points.end(), pointBefore))
            std::stable_sort(s.points.begin(), s.points.end(), pointBefore);
    }
    std::stable_sort(series.begin(), series.end(), [](const DataSeries& a, const DataSeries& b) {
        return pointBefore(a.points.first(), b.points.first());
    });
    std::vector<bool> regular;
    const QString error = checkSpans(series, regular);
    if (!error.isEmpty())
        return error;
    qint64 droppedPoints = 0;
    for (qsizetype k = 0; k < series.size(); ++k) {
        if (!regular[size_t(k)])
            droppedPoints += normalise(series[k].points);
    }
    if (duplicates)
        *duplicates = droppedPoints;
    return QString();
}
