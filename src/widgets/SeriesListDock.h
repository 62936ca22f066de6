#pragma once

#include "probe/SeriesRows.h"

#include <QDockWidget>
#include <QVector>

class QLineEdit;
class QSortFilterProxyModel;
class QTreeView;
class SeriesListModel;

// A dock listing every series with its colour, name and total, largest first, to find a series by name
// (the filter keeps the rows whose name holds its text, in any case, as it is typed; Ctrl+F goes to it),
// show or hide it (its check box; "Show All"), and select it.
class SeriesListDock : public QDockWidget {
    Q_OBJECT
public:
    explicit SeriesListDock(QWidget* parent);

    SeriesListModel* model() const { return listModel; }
    QLineEdit* filterField() const { return filter; }
    QTreeView* view() const { return list; }

public slots:
    void setRows(const QVector<SeriesRow>& rows);
    void setHiddenSeries(const QVector<int>& hidden);
    // Marks the series' row as selected without announcing it (-1: no row).
    void showSelected(int seriesIndex);

signals:
    void hiddenSeriesChanged(const QVector<int>& hidden);
    // The user selected the series' row.
    void seriesSelected(int seriesIndex);
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void selectionChanged();

    SeriesListModel* listModel;
    QSortFilterProxyModel* filtered;
    QLineEdit* filter;
    QTreeView* list;
    bool announcing = true;
};
