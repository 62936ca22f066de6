#pragma once

#include <QObject>
#include <QSize>

class StackedGraphWidget;

// While on, keeps one graph's width at the proportions of its viewport, so that the fitted graph fills
// the viewport edge to edge: after every build (a new baseline changes the height) and every resize. The
// width slider shows the width, its range widened to hold it; moving the slider by hand turns it off.
class FillWindow : public QObject {
    Q_OBJECT
public:
    explicit FillWindow(StackedGraphWidget* graph);

    bool isOn() const { return on; }
    // Turning it off gives the graph its default width again.
    void setOn(bool fill);

    // The width that gives a scene rectangle of that height the viewport's proportions; 0 when there is
    // none.
    static int widthFor(double sceneHeight, const QSize& viewport);

signals:
    // A hand on the slider turned it off.
    void turnedOff();

private:
    // refit: fit the view again even when the width stays, as after a resize of the window.
    void schedule(bool refit);
    void follow(bool refit);

    StackedGraphWidget* graph;
    bool on = false;
    bool pending = false;
    bool pendingRefit = false;
    // The view's own size at the last fit: scroll bars that come and go with a zoom resize only the
    // viewport, and must not undo the zoom.
    QSize fittedViewSize;
};
