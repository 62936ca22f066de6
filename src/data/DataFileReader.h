#pragma once

#include "data/DataSet.h"

#include <QByteArray>
#include <QString>

// What reading a data file gave. On failure the data set is left empty.
struct DataFileResult {
    DataSet data;
    QString error;              // empty on success; otherwise a clear message naming what was wrong
    int seriesRead = 0;         // series entries read from the file, before dropping
    int droppedSeries = 0;      // entries dropped for having fewer than two points
    qint64 duplicateMonths = 0; // points dropped because their series already had that month
    qint64 rowsRead = -1;       // data rows of a CSV or TSV file; -1 for the data-file format
    bool ok() const { return error.isEmpty(); }
};

// Reads the data-file format: a fixed run of "read up to this delimiter" steps over the bytes,
// then every series is sorted and filled to one point per month.
class DataFileReader {
public:
    static DataFileResult readFile(const QString& fileName);
    static DataFileResult readBytes(const QByteArray& bytes);

    // Values are at most 1e300, so no more than 101 levels of division by 1000 can ever be shown.
    static constexpr int maxSuffixes = 128;
    static constexpr qint64 maxFileSize = qint64(2) << 30;
};
