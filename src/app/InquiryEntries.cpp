#include "app/InquiryEntries.h"

#include "graph/StackedGraph.h"
#include "graph/ValueFormatter.h"
#include "probe/SeriesRows.h"
#include "widgets/CentralWidget.h"
#include "widgets/SeriesListDock.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

QAction* checkable(QMenu* menu, const QString& text) {
    auto* action = new QAction(menu);
    action->setText(text);
    action->setCheckable(true);
    menu->addAction(action);
    return action;
}

} // namespace

InquiryEntries::InquiryEntries(QMainWindow* window, QMenu* viewMenu, CentralWidget* central)
    : QObject(window)
    , window(window)
    , central(central) {
    viewMenu->addSeparator();
    readoutAction = checkable(viewMenu, tr("Readout"));
    seriesListAction = checkable(viewMenu, tr("Series List"));
    fillWindowAction = checkable(viewMenu, tr("Fill Window"));
    connect(readoutAction, &QAction::toggled, this, &InquiryEntries::setReadout);
    connect(seriesListAction, &QAction::toggled, this, &InquiryEntries::setSeriesList);
    connect(fillWindowAction, &QAction::toggled, central, &CentralWidget::setFillWindow);
    connect(central, &CentralWidget::fillWindowChanged, fillWindowAction, &QAction::setChecked);
    connect(central, &CentralWidget::readoutChanged, this, &InquiryEntries::showReadout);
}

void InquiryEntries::setReadout(bool on) {
    // The status bar exists only from the first time it is asked for.
    if (on)
        window->statusBar()->show();
    else if (QStatusBar* bar = window->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
        bar->hide();
    central->setReadout(on);
    dropHighlightUnlessAsked();
}

void InquiryEntries::showReadout(const QString& text) {
    // The probes speak only while Readout is on, and clear the line as it goes off, so that an old text
    // does not come back with it. Clearing asks for no status bar that is not there.
    if (!text.isEmpty())
        window->statusBar()->showMessage(text);
    else if (QStatusBar* bar = window->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly))
        bar->clearMessage();
}

void InquiryEntries::setSeriesList(bool on) {
    if (on && !seriesList) {
        seriesList = new SeriesListDock(window);
        window->addDockWidget(Qt::RightDockWidgetArea, seriesList);
        connect(seriesList, &SeriesListDock::closed, seriesListAction,
                [this] { seriesListAction->setChecked(false); });
        connect(seriesList, &SeriesListDock::hiddenSeriesChanged, central, &CentralWidget::setHiddenSeries);
        connect(seriesList, &SeriesListDock::seriesSelected, central, &CentralWidget::focusSeries);
        connect(central, &CentralWidget::highlightChanged, seriesList, &SeriesListDock::showSelected);
        connect(central->mainGraph, &StackedGraphWidget::hiddenSeriesChanged, seriesList,
                &SeriesListDock::setHiddenSeries);
        // Colours and totals as the main graph draws and writes them, after every build and switch.
        connect(central->mainGraph->stackedGraph, &StackedGraph::maxColorTextChanged, this,
                &InquiryEntries::refreshRows);
    }
    if (!seriesList)
        return;
    if (on) {
        seriesList->show();
        refreshRows();
        seriesList->setHiddenSeries(central->mainGraph->hiddenSeries());
        seriesList->showSelected(central->highlightedSeries());
    } else {
        seriesList->hide();
        // Series hidden from the list come back with it gone: nothing stays hidden out of sight.
        central->setHiddenSeries({});
    }
    dropHighlightUnlessAsked();
}

void InquiryEntries::refreshRows() {
    if (!seriesList || !seriesList->isVisible())
        return;
    const StackedGraph* graph = central->mainGraph->stackedGraph;
    seriesList->setRows(
        SeriesRow::of(*graph->series, graph->layout(), graph->colorScale(), graph->valueFormatter()));
}

void InquiryEntries::dropHighlightUnlessAsked() {
    if (!readoutAction->isChecked() && !seriesListAction->isChecked())
        central->setHighlightedSeries(-1);
}
