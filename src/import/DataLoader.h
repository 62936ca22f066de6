#pragma once

#include "data/DataFileReader.h"

#include <QString>

// The one way in for a file of series, wherever it is chosen: names ending in .csv or .tsv (in any
// case) are read as CSV or TSV, every other file in the data-file format.
class DataLoader {
public:
    static DataFileResult readFile(const QString& fileName);
};
