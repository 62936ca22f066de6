#pragma once

#include <QPointF>
#include <QString>

// A layer's name as it is drawn: the text in the default font at a pixel size, with the left end of
// its baseline at origin (scene units). The scene, the exports and the label CSV all read this.
struct LabelPlacement {
    QString text;
    int pixelSize = 0;
    QPointF origin;

    bool isEmpty() const { return text.isEmpty() || pixelSize < 1; }

    // The largest pixel size a label is made at: Qt's font engines give no glyphs far beyond it (at
    // 65536 they give none), and a label this large is already larger than any screen.
    static constexpr int largestPixelSize = 16384;
};
