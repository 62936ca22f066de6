#include "widgets/CentralWidget.h"

#include "graph/StackedGraph.h"
#include "import/DataLoader.h"
#include "import/TableImport.h"
#include "probe/FocusPlan.h"
#include "view/StackedGraphView.h"
#include "widgets/FillWindow.h"
#include "widgets/GraphProbe.h"
#include "widgets/StackedGraphWidget.h"

#include <QShortcut>
#include <QVBoxLayout>

CentralWidget::CentralWidget(QWidget* parent)
    : QWidget(parent) {
    mainGraph = new StackedGraphWidget(&series, &unitText, &unitAfterValue, &magnitudeSuffixes, this);
    compareGraph = new StackedGraphWidget(&series, &unitText, &unitAfterValue, &magnitudeSuffixes, this);
    compareGraph->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mainGraph);
    layout->addWidget(compareGraph);

    // Additions that do nothing until their View entries are checked.
    StackedGraphWidget* graphs[2] = {mainGraph, compareGraph};
    for (int i = 0; i < 2; ++i) {
        probes[i] = new GraphProbe(graphs[i]->stackedGraph);
        connect(probes[i], &GraphProbe::readoutChanged, this, &CentralWidget::readoutChanged);
        connect(probes[i], &GraphProbe::layerClicked, this, &CentralWidget::setHighlightedSeries);
        fills[i] = new FillWindow(graphs[i]);
        connect(fills[i], &FillWindow::turnedOff, this, [this] { emit fillWindowChanged(false); });
    }
    // A build that no longer draws the highlighted series ends the highlight in both graphs alike.
    connect(mainGraph->stackedGraph, &StackedGraph::highlightChanged, this,
            &CentralWidget::setHighlightedSeries);
    clearHighlight = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    clearHighlight->setContext(Qt::WindowShortcut);
    clearHighlight->setEnabled(false);
    connect(clearHighlight, &QShortcut::activated, this, [this] { setHighlightedSeries(-1); });
}

bool CentralWidget::loadDataFile(const QString& fileName, QString* message, const ImportOptions& options) {
    return load(DataLoader::readFile(fileName, options), message);
}

bool CentralWidget::loadTable(const SourceTable& source, QString* message, const ImportOptions& options) {
    return load(TableImport::run(source, options).data, message);
}

bool CentralWidget::load(DataFileResult result, QString* message) {
    if (!result.ok()) {
        if (message)
            *message = result.error;
        return false;
    }
    // Indexes of hidden and highlighted series mean nothing in the new data.
    setHighlightedSeries(-1);
    for (StackedGraphWidget* graph : {mainGraph, compareGraph}) {
        graph->stackedGraph->rebuildEnabled = false;
        graph->setHiddenSeries({});
        graph->stackedGraph->rebuildEnabled = true;
    }
    series = std::move(result.data.series);
    unitText = result.data.unitText;
    unitAfterValue = result.data.unitAfterValue;
    magnitudeSuffixes = std::move(result.data.magnitudeSuffixes);
    if (message)
        message->clear();
    mainGraph->updateStackedGraph();
    compareGraph->updateStackedGraph();
    return true;
}

void CentralWidget::setGLViewport(bool openGL) {
    for (StackedGraphWidget* graph : {mainGraph, compareGraph})
        graph->stackedGraph->view->setGLViewport(openGL);
}

void CentralWidget::setAutoGLViewport(bool autoGL) {
    for (StackedGraphWidget* graph : {mainGraph, compareGraph}) {
        graph->stackedGraph->view->autoGL = autoGL;
        graph->stackedGraph->view->updateAutoGLViewport();
    }
}

void CentralWidget::setDetailedInformation(bool detailInfo) {
    for (StackedGraphWidget* graph : {mainGraph, compareGraph}) {
        graph->stackedGraph->detailedInfo = detailInfo;
        graph->stackedGraph->emitColorTexts();
        // The thickness scale's text follows the switch too.
        if (graph->stackedGraph->view->timeAxis)
            graph->stackedGraph->view->viewport()->update();
    }
}

void CentralWidget::toggleCompareGraph(bool compareGraphOn) {
    if (compareGraphOn)
        *compareGraph = *mainGraph;
    compareGraph->setVisible(compareGraphOn);
}

void CentralWidget::setFittedLabels(bool fitted) {
    const auto mode = fitted ? GraphSettings::LabelMode::Fitted : GraphSettings::LabelMode::Classic;
    for (StackedGraphWidget* graph : {mainGraph, compareGraph})
        graph->stackedGraph->setLabelMode(mode);
}

void CentralWidget::setTimeAxis(bool timeAxis) {
    for (StackedGraphWidget* graph : {mainGraph, compareGraph})
        graph->stackedGraph->view->setTimeAxis(timeAxis);
}

void CentralWidget::setReadout(bool on) {
    for (GraphProbe* graphProbe : probes)
        graphProbe->setActive(on);
}

void CentralWidget::setHiddenSeries(const QVector<int>& seriesIndexes) {
    for (StackedGraphWidget* graph : {mainGraph, compareGraph})
        graph->setHiddenSeries(seriesIndexes);
}

void CentralWidget::setHighlightedSeries(int seriesIndex) {
    for (StackedGraphWidget* graph : {mainGraph, compareGraph})
        graph->stackedGraph->setHighlightedSeries(seriesIndex);
    // The scene refuses a series it does not draw.
    const int now = mainGraph->stackedGraph->highlightedSeries();
    clearHighlight->setEnabled(now >= 0);
    if (now == highlighted)
        return;
    highlighted = now;
    emit highlightChanged(highlighted);
}

void CentralWidget::focusSeries(int seriesIndex) {
    setHighlightedSeries(seriesIndex);
    for (StackedGraphWidget* graph : {mainGraph, compareGraph}) {
        if (!graph->isVisible())
            continue;
        StackedGraphView* view = graph->stackedGraph->view;
        for (const LayerLayout& layer : graph->stackedGraph->layout().layers) {
            if (layer.seriesIndex != seriesIndex)
                continue;
            const FocusPlan plan =
                FocusPlan::of(layer.band, view->transform().m22(), view->viewport()->height());
            if (plan.valid)
                view->zoomOnto(plan.centre, plan.zoom);
        }
    }
}

void CentralWidget::setFillWindow(bool on) {
    for (FillWindow* graphFill : fills)
        graphFill->setOn(on);
}
