#pragma once

#include "probe/SeriesRows.h"

#include <QAbstractTableModel>
#include <QVector>

// The series list as a table: a check box, the colour as drawn and the name, then the total; one row per
// series, largest total first. Unchecking a row hides its series.
class SeriesListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, TotalColumn, ColumnCount };
    // The series index of a row, for the views.
    static constexpr int SeriesRole = Qt::UserRole;

    explicit SeriesListModel(QObject* parent);

    // New rows: kept in place (selection and scrolling with them) when they list the same series in the
    // same order, as after a rebuild; otherwise the model starts anew.
    void setRows(const QVector<SeriesRow>& rows);
    void setHiddenSeries(const QVector<int>& hidden);
    QVector<int> hiddenSeries() const;
    int rowOf(int seriesIndex) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The user checked or unchecked a row.
    void hiddenSeriesChanged(const QVector<int>& hidden);

private:
    QVector<SeriesRow> rows;
    // By series index.
    QVector<bool> hidden;
};
