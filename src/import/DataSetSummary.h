#pragma once

#include <QString>

struct DataFileResult;

// A short human-readable account of what a data file gave, for the command line.
class DataSetSummary {
public:
    static QString describe(const DataFileResult& result);
};
