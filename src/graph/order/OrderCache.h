#pragma once

#include "data/DataSeries.h"

#include <QVector>

// The searched stacking orders a scene found, so that rebuilds which change neither the data, the
// baseline, the sorting nor the series taking part (a width, a colour, the labels) reuse them rather than
// search again. Keeps the last few: switching between two baselines finds both.
class OrderCache {
public:
    struct Key {
        quint64 data = 0; // fingerprint of the series' names, months and values
        int baseline = 0;
        int sort = 0;
        QVector<int> series; // the series taking part
        bool operator==(const Key& other) const {
            return data == other.data && baseline == other.baseline && sort == other.sort &&
                   series == other.series;
        }
    };
    static Key keyOf(const QVector<DataSeries>& series, int baseline, int sort, const QVector<int>& taking);

    // The order kept for key, or an empty one.
    QVector<int> find(const Key& key) const;
    void store(const Key& key, const QVector<int>& order);

    static constexpr int capacity = 8;

private:
    struct Entry {
        Key key;
        QVector<int> order;
    };
    QVector<Entry> entries; // most recent last
};
