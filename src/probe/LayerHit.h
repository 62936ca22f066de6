#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QVector>

struct GraphLayout;

// Which layer a graph shows at a scene point, and the month nearest to it. The edges are the cubic
// segments the outline is drawn with: between months k and k + 1 both control points lie halfway in x, so
// at the fraction u of the way x(t) = k + 1.5t - 1.5t^2 + t^3 and every edge there has moved the same share
// s = 3t^2 - 2t^3 of the way from its height at k to its height at k + 1. One t serves all layers.
struct LayerHit {
    // Position in the layout's layers, bottom first; -1 over no band.
    int layer = -1;
    // Month index nearest the point; -1 outside the graph's months.
    qint64 month = -1;

    bool onLayer() const { return layer >= 0; }
    bool inMonths() const { return month >= 0; }

    // labels: each layer's name as glyph outlines in place, one per layer of the layout, or none. A layer
    // owns its band and its name, and what is drawn later lies on top: a name that reaches into a later
    // layer's band is covered there. lineReach: how far in scene x a point may lie from a band of a
    // single month, drawn as a vertical line, and still touch it.
    static LayerHit find(const GraphLayout& layout, const QVector<QPainterPath>& labels, const QPointF& point,
                         double lineReach = 0.0);

    // The share s of the way an edge has moved at the fraction u (0 .. 1) of a month step.
    static double edgeShare(double u);
};
