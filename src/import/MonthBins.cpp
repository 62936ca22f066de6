#include "import/MonthBins.h"

#include "data/FileText.h"
#include "data/MonthRange.h"
#include "data/MonthText.h"
#include "data/SeriesNormalizer.h"

#include <algorithm>
#include <cmath>

namespace {

bool monthBefore(const DataPoint& a, const DataPoint& b) {
    return MonthRange::count(a) < MonthRange::count(b);
}

double combined(const DataPoint* begin, const DataPoint* end, ImportOptions::Aggregate rule) {
    using Aggregate = ImportOptions::Aggregate;
    switch (rule) {
    case Aggregate::First:
        return begin->value;
    case Aggregate::Last:
        return end[-1].value;
    case Aggregate::Min:
        return std::min_element(begin, end,
                                [](const DataPoint& a, const DataPoint& b) { return a.value < b.value; })
            ->value;
    case Aggregate::Max:
        return std::max_element(begin, end,
                                [](const DataPoint& a, const DataPoint& b) { return a.value < b.value; })
            ->value;
    case Aggregate::Sum:
    case Aggregate::Mean:
        break;
    }
    double sum = 0.0;
    for (const DataPoint* p = begin; p < end; ++p)
        sum += p->value;
    return rule == Aggregate::Mean ? sum / double(end - begin) : sum;
}

} // namespace

QString MonthBins::combine(QVector<DataSeries>& series, ImportOptions::Aggregate rule, Counts* counts) {
    Counts total;
    for (DataSeries& s : series) {
        QVector<DataPoint>& points = s.points;
        // Stable, so that "first" and "last" are the file's.
        if (!std::is_sorted(points.begin(), points.end(), monthBefore))
            std::stable_sort(points.begin(), points.end(), monthBefore);
        qsizetype kept = 0;
        for (qsizetype i = 0; i < points.size();) {
            qsizetype j = i + 1;
            while (j < points.size() && MonthRange::count(points[j]) == MonthRange::count(points[i]))
                ++j;
            DataPoint point = points[i];
            if (j - i > 1) {
                point.value = combined(points.constData() + i, points.constData() + j, rule);
                ++total.combinedMonths;
                total.combinedValues += j - i;
                if (!(std::abs(point.value) <= SeriesNormalizer::maxValue))
                    return QStringLiteral("Series \"%1\", %2: the %3 of its %4 values is too large "
                                          "(more than 1e300).")
                        .arg(FileText::shortened(s.name), MonthText::padded(point.year, point.month),
                             ImportOptions::aggregateNames()[int(rule)])
                        .arg(j - i);
            }
            // As in data files, values below zero count as zero (and -0 would be shown as "-0").
            if (point.value < 0.0)
                ++total.negativeMonths;
            if (!(point.value > 0.0))
                point.value = 0.0;
            points[kept++] = point;
            i = j;
        }
        points.resize(kept);
        total.months += kept;
    }
    if (counts)
        *counts = total;
    return QString();
}
