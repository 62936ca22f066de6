#include "widgets/SeriesListDock.h"

#include "widgets/SeriesListModel.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

SeriesListDock::SeriesListDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Series List"), parent) {
    setObjectName(QStringLiteral("seriesList"));
    auto* content = new QWidget(this);
    filter = new QLineEdit(content);
    filter->setPlaceholderText(QStringLiteral("Filter"));
    filter->setClearButtonEnabled(true);
    listModel = new SeriesListModel(this);
    filtered = new QSortFilterProxyModel(this);
    filtered->setSourceModel(listModel);
    filtered->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtered->setFilterKeyColumn(SeriesListModel::NameColumn);
    list = new QTreeView(content);
    list->setModel(filtered);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(SeriesListModel::NameColumn, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(SeriesListModel::TotalColumn, QHeaderView::ResizeToContents);
    auto* showAll = new QPushButton(QStringLiteral("Show All"), content);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(filter);
    layout->addWidget(list);
    layout->addWidget(showAll);
    setWidget(content);

    connect(filter, &QLineEdit::textChanged, filtered, &QSortFilterProxyModel::setFilterFixedString);
    auto* find = new QShortcut(QKeySequence::Find, this);
    // Wherever the focus is, while the list is shown.
    find->setContext(Qt::ApplicationShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        filter->setFocus(Qt::ShortcutFocusReason);
        filter->selectAll();
    });
    connect(listModel, &SeriesListModel::hiddenSeriesChanged, this, &SeriesListDock::hiddenSeriesChanged);
    connect(showAll, &QPushButton::clicked, this, [this] {
        listModel->setHiddenSeries({});
        emit hiddenSeriesChanged({});
    });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SeriesListDock::selectionChanged);
}

void SeriesListDock::setRows(const QVector<SeriesRow>& rows) {
    listModel->setRows(rows);
}

void SeriesListDock::setHiddenSeries(const QVector<int>& hidden) {
    listModel->setHiddenSeries(hidden);
}

void SeriesListDock::showSelected(int seriesIndex) {
    const int row = listModel->rowOf(seriesIndex);
    const QModelIndex index = filtered->mapFromSource(listModel->index(row, SeriesListModel::NameColumn));
    announcing = false;
    if (index.isValid()) {
        list->selectionModel()->select(index,
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list->scrollTo(index);
    } else {
        list->selectionModel()->clearSelection();
    }
    announcing = true;
}

void SeriesListDock::selectionChanged() {
    if (!announcing)
        return;
    const QModelIndexList rows = list->selectionModel()->selectedRows(SeriesListModel::NameColumn);
    if (!rows.isEmpty())
        emit seriesSelected(rows.first().data(SeriesListModel::SeriesRole).toInt());
}

void SeriesListDock::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit closed();
}
