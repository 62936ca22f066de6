#include "graph/order/OrderCache.h"

#include <QHashFunctions>

OrderCache::Key OrderCache::keyOf(const QVector<DataSeries>& series, int baseline, int sort,
                                  const QVector<int>& taking) {
    Key key;
    key.baseline = baseline;
    key.sort = sort;
    key.series = taking;
    size_t hash = qHash(series.size());
    for (const DataSeries& s : series) {
        hash = qHashMulti(hash, s.name, s.points.size());
        if (!s.points.isEmpty())
            hash = qHashBits(s.points.constData(), sizeof(DataPoint) * size_t(s.points.size()), hash);
    }
    key.data = quint64(hash);
    return key;
}

QVector<int> OrderCache::find(const Key& key) const {
    for (const Entry& entry : entries)
        if (entry.key == key)
            return entry.order;
    return {};
}

void OrderCache::store(const Key& key, const QVector<int>& order) {
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].key == key) {
            entries.remove(i);
            break;
        }
    }
    if (entries.size() >= capacity)
        entries.removeFirst();
    entries.append(Entry{key, order});
}
