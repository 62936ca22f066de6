#pragma once

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>

// Sends a wheel turn to a view's viewport at pos, as a mouse wheel without buttons would.
inline void sendWheel(QWidget* viewport, QPoint angleDelta, QPointF pos) {
    QWheelEvent event(pos, viewport->mapToGlobal(pos), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

// The same at the viewport's centre.
inline void sendWheel(QWidget* viewport, QPoint angleDelta) {
    sendWheel(viewport, angleDelta, QPointF(viewport->rect().center()));
}
