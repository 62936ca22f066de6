#pragma once

#include "data/DataFileReader.h"

// What every read must keep, whichever reader made it; a breach is a finding like a crash.
inline bool keepsInvariants(const DataFileResult& result) {
    if (!result.ok())
        return result.data.series.isEmpty();
    if (result.droppedSeries < 0 || result.droppedSeries > result.seriesRead ||
        result.seriesRead - result.droppedSeries != result.data.series.size() || result.duplicateMonths < 0)
        return false;
    if (result.data.magnitudeSuffixes.size() > DataFileReader::maxSuffixes)
        return false;
    return invariantFault(result.data).isEmpty();
}
