#include "data/DataFileReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

// Every successful load must keep these; a breach is a finding like a crash.
bool keepsInvariants(const DataFileResult& result) {
    if (!result.ok())
        return result.data.series.isEmpty();
    if (result.droppedSeries < 0 || result.droppedSeries > result.seriesRead ||
        result.seriesRead - result.droppedSeries != result.data.series.size())
        return false;
    if (result.data.magnitudeSuffixes.size() > DataFileReader::maxSuffixes)
        return false;
    qint64 previousStart = std::numeric_limits<qint64>::min();
    for (const DataSeries& series : result.data.series) {
        if (series.points.isEmpty())
            return false;
        qint64 expected = qint64(series.points.first().year) * 12 + series.points.first().month;
        if (expected < previousStart)
            return false;
        previousStart = expected;
        for (const DataPoint& point : series.points) {
            if (point.month < 1 || point.month > 12 || qint64(point.year) * 12 + point.month != expected)
                return false;
            if (!(point.value >= 0 && point.value <= DataFileReader::maxValue) || std::signbit(point.value))
                return false;
            ++expected;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!keepsInvariants(DataFileReader::readBytes(bytes)))
        std::abort();
    return 0;
}
