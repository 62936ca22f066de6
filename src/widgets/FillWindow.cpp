#include "widgets/FillWindow.h"

#include "graph/StackedGraph.h"
#include "view/StackedGraphView.h"
#include "widgets/StackedGraphWidget.h"

#include <QSlider>
#include <QTimer>

#include <cmath>
#include <limits>

FillWindow::FillWindow(StackedGraphWidget* graph)
    : QObject(graph)
    , graph(graph) {
    connect(graph->stackedGraph->view, &StackedGraphView::viewportResized, this, [this] {
        if (this->graph->stackedGraph->view->size() != fittedViewSize)
            schedule(true);
    });
    // A build may change the graph's height; the width follows, and a view zoomed in stays so otherwise.
    connect(graph->stackedGraph, &StackedGraph::layoutChanged, this, [this] { schedule(false); });
    // Only the user's own moves of the slider trigger actions; the program's setValue does not.
    connect(graph->xRangeSlider, &QSlider::actionTriggered, this, [this] {
        if (!on)
            return;
        on = false;
        this->graph->stackedGraph->view->fillsViewport = false;
        emit turnedOff();
    });
}

int FillWindow::widthFor(double sceneHeight, const QSize& viewport) {
    if (viewport.isEmpty())
        return 0;
    const double width = std::round(sceneHeight * viewport.width() / viewport.height());
    if (!std::isfinite(width) || width < 1.0)
        return 0;
    return int(qMin(width, double(std::numeric_limits<int>::max() / 2)));
}

void FillWindow::setOn(bool fill) {
    if (fill == on)
        return;
    on = fill;
    graph->stackedGraph->view->fillsViewport = fill;
    if (fill)
        follow(true);
    else
        graph->updateStackedGraph();
}

void FillWindow::schedule(bool refit) {
    // Nothing is owed while off: a resize then must not refit after some later, ordinary build.
    if (!on)
        return;
    pendingRefit = pendingRefit || refit;
    if (pending)
        return;
    pending = true;
    // Resizes come in bursts, and a build must not start inside another: once, when control is back.
    QTimer::singleShot(0, this, [this] {
        pending = false;
        const bool again = pendingRefit;
        pendingRefit = false;
        follow(again);
    });
}

void FillWindow::follow(bool refit) {
    // A hidden graph has no view to fill; it follows once shown, as its view is resized then.
    if (!on || !graph->isVisible())
        return;
    StackedGraph* scene = graph->stackedGraph;
    fittedViewSize = scene->view->size();
    const GraphLayout& layout = scene->layout();
    // The viewport as it is without scroll bars: those of a view zoomed in must not change the width.
    const int width =
        layout.drawable ? widthFor(layout.sceneRect.height(), scene->view->maximumViewportSize()) : 0;
    if (width < 1)
        return;
    QSlider* slider = graph->xRangeSlider;
    // Widening never moves the value, so nothing is built at a width in between.
    slider->setRange(qMin(slider->minimum(), width), qMax(slider->maximum(), width));
    if (slider->value() != width)
        slider->setValue(width); // applied and fitted by the panel's own slider handling
    else if (refit)
        scene->view->resetView();
}
