#include "widgets/SeriesListModel.h"

SeriesListModel::SeriesListModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void SeriesListModel::setRows(const QVector<SeriesRow>& newRows) {
    const bool sameSeries =
        std::equal(rows.cbegin(), rows.cend(), newRows.cbegin(), newRows.cend(),
                   [](const SeriesRow& a, const SeriesRow& b) { return a.series == b.series; });
    if (sameSeries) {
        rows = newRows;
        if (!rows.isEmpty())
            emit dataChanged(index(0, 0), index(int(rows.size()) - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    rows = newRows;
    hidden = QVector<bool>(rows.size(), false);
    endResetModel();
}

void SeriesListModel::setHiddenSeries(const QVector<int>& seriesIndexes) {
    QVector<bool> now(hidden.size(), false);
    for (int s : seriesIndexes)
        if (s >= 0 && s < now.size())
            now[s] = true;
    if (now == hidden)
        return;
    hidden = now;
    if (!rows.isEmpty())
        emit dataChanged(index(0, NameColumn), index(int(rows.size()) - 1, NameColumn), {Qt::CheckStateRole});
}

QVector<int> SeriesListModel::hiddenSeries() const {
    QVector<int> list;
    for (int s = 0; s < hidden.size(); ++s)
        if (hidden[s])
            list.append(s);
    return list;
}

int SeriesListModel::rowOf(int seriesIndex) const {
    for (int row = 0; row < rows.size(); ++row)
        if (rows[row].series == seriesIndex)
            return row;
    return -1;
}

int SeriesListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows.size());
}

int SeriesListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SeriesListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const SeriesRow& row = rows[index.row()];
    if (role == SeriesRole)
        return row.series;
    if (index.column() == TotalColumn) {
        if (role == Qt::DisplayRole)
            return row.totalText;
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return row.name;
    case Qt::DecorationRole:
        return row.color;
    case Qt::CheckStateRole:
        return hidden.value(row.series) ? Qt::Unchecked : Qt::Checked;
    default:
        return {};
    }
}

bool SeriesListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != NameColumn || role != Qt::CheckStateRole ||
        index.row() >= rows.size())
        return false;
    const int s = rows[index.row()].series;
    const bool hide = value.value<Qt::CheckState>() == Qt::Unchecked;
    if (s < 0 || s >= hidden.size() || hidden[s] == hide)
        return false;
    hidden[s] = hide;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit hiddenSeriesChanged(hiddenSeries());
    return true;
}

Qt::ItemFlags SeriesListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == NameColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SeriesListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? QStringLiteral("Series") : QStringLiteral("Total");
}
