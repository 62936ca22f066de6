#include "data/DataFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

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
    return invariantFault(result.data).isEmpty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!keepsInvariants(DataFileReader::readBytes(bytes)))
        std::abort();
    return 0;
}
