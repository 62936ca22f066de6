#pragma once

#include <QSize>
#include <QString>

// The five export sizes, derived from the graph's width W (scene units) and height H.
class ImageSize {
public:
    static constexpr int choiceCount = 5;
    // One image pixel per scene unit.
    static constexpr int defaultChoice = 2;
    // Index 0..4 gives W/4 x H/4, W/2 x H/2, W x H, 2W x 2H, 4W x 4H (integer division);
    // any other index 16 x 10. Products saturate instead of overflowing.
    static QSize forChoice(int index, int width, int height);
    // A scene extent as a whole number of units: truncated toward zero, within 0 .. INT_MAX.
    static int truncated(double extent);
    // "WxH", as the size box shows it.
    static QString text(const QSize& size);
};
