#pragma once

class QIODevice;
struct DataSet;

// The data set as long-format CSV: a header row, then one row per point, series in order.
class DataSetCsv {
public:
    static void write(const DataSet& data, QIODevice& out);
};
