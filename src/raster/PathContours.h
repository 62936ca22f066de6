#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QVector>

// A path's subpaths as plain arrays with their extents, for drawing the same path into pixels many times
// (once per tile of every repaint) without walking it element by element through QPainterPath's calls, and
// for passing over the subpaths a tile does not show.
class PathContours {
public:
    struct Contour {
        // Its elements: begin is the move, end one past the last.
        int begin;
        int end;
        // The rectangle of all its points, control points included: the subpath lies within it.
        QRectF bounds;
        // Whether it ends where it begins.
        bool closed;
    };

    PathContours() = default;
    explicit PathContours(const QPainterPath& path);

    bool isEmpty() const { return contours.isEmpty(); }
    // The rectangle of every point, as QPainterPath::controlPointRect gives it.
    QRectF bounds() const { return extent; }

    QVector<QPointF> points;
    // Whether the element at that index starts a curve (its two control points and its end follow).
    QVector<bool> curve;
    QVector<Contour> contours;

private:
    QRectF extent;
};
