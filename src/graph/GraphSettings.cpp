#include "graph/GraphSettings.h"

#include "graph/ColorSchemePresets.h"
#include "graph/baseline/Baseline.h"
#include "graph/order/LayerOrdering.h"

#include <algorithm>

namespace {

template <typename Kind, size_t n> Kind kindAt(const Kind (&kinds)[n], int code, Kind unknown) {
    return code >= 0 && code < int(n) ? kinds[code] : unknown;
}

QStringList texts(std::initializer_list<const char*> items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromLatin1(item);
    return list;
}

} // namespace

GraphSettings::GraphSettings()
    : baseline(defaultBaseline)
    , sort(defaultSort)
    , coloring(defaultColoring)
    , maxColor(colorSchemePresets()[defaultScheme - 1].maxColor)
    , minColor(colorSchemePresets()[defaultScheme - 1].minColor)
    , width(unitsPerMonth) {}

bool GraphSettings::operator==(const GraphSettings& other) const {
    return baseline == other.baseline && sort == other.sort && coloring == other.coloring &&
           maxColor == other.maxColor && minColor == other.minColor && width == other.width &&
           labels == other.labels && hidden == other.hidden;
}

QVector<int> GraphSettings::shownSeries(int count) const {
    // Indexes out of range (left from another data set) hide nothing.
    QVector<bool> isHidden(qMax(count, 0), false);
    for (int s : hidden)
        if (s >= 0 && s < count)
            isHidden[s] = true;
    QVector<int> shown;
    shown.reserve(count);
    for (int s = 0; s < count; ++s)
        if (!isHidden[s])
            shown.append(s);
    return shown;
}

QVector<int> GraphSettings::normalizedIndexes(QVector<int> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

namespace {

// The names of a table's entries, in its order.
template <typename Table> QStringList namesOf(const Table& table) {
    QStringList list;
    for (const auto& entry : table)
        list << entry.name;
    return list;
}

} // namespace

const QStringList& GraphSettings::baselineNames() {
    static const QStringList names = namesOf(Baseline::table());
    return names;
}

const QStringList& GraphSettings::sortNames() {
    static const QStringList names = namesOf(LayerOrdering::table());
    return names;
}

const QStringList& GraphSettings::coloringNames() {
    static const QStringList names =
        texts({"first onset", "last offset", "max quant", "avrg quant", "sum quant"});
    return names;
}

const QStringList& GraphSettings::labelModeNames() {
    static const QStringList names = texts({"classic", "fitted", "none"});
    return names;
}

ColorKeys::Kind GraphSettings::coloringKind(int code) {
    static constexpr ColorKeys::Kind kinds[] = {ColorKeys::Kind::FirstOnset, ColorKeys::Kind::LastOffset,
                                                ColorKeys::Kind::MaxQuantity, ColorKeys::Kind::MeanQuantity,
                                                ColorKeys::Kind::SumQuantity};
    return kindAt(kinds, code, ColorKeys::Kind::None);
}

double GraphSettings::defaultWidth(qint64 monthSpan) {
    return unitsPerMonth * double(monthSpan);
}
