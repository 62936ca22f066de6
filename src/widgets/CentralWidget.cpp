#include "widgets/CentralWidget.h"

#include "graph/StackedGraph.h"
#include "import/DataLoader.h"
#include "view/StackedGraphView.h"
#include "widgets/StackedGraphWidget.h"

#include <QVBoxLayout>

CentralWidget::CentralWidget(QWidget* parent)
    : QWidget(parent) {
    mainGraph = new StackedGraphWidget(&series, &unitText, &unitAfterValue, &magnitudeSuffixes, this);
    compareGraph = new StackedGraphWidget(&series, &unitText, &unitAfterValue, &magnitudeSuffixes, this);
    compareGraph->setVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mainGraph);
    layout->addWidget(compareGraph);
}

bool CentralWidget::loadDataFile(const QString& fileName, QString* message, const ImportOptions& options) {
    DataFileResult result = DataLoader::readFile(fileName, options);
    if (!result.ok()) {
        if (message)
            *message = result.error;
        return false;
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
