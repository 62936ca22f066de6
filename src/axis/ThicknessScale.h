#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <functional>

class QFont;
class QPainter;

// How much a band's thickness stands for: a vertical bar of a round amount of value units, with the
// amount written beside it. Thickness is a length, not a position, so the bar says it where signed
// ticks along a y axis would mislead under the centred baselines.
class ThicknessScale {
public:
    // The bar a scale of at most maxPixels shows: its amount in value units (0: none), its height in
    // pixels, the amount as text, and the room bar and text take.
    struct Bar {
        double amount = 0.0;
        double height = 0.0;
        QString text;
        QSizeF size;
        bool isEmpty() const { return !(amount > 0.0); }
    };
    static Bar bar(double pixelsPerUnit, double maxPixels, const QFont& font,
                   const std::function<QString(double)>& format);
    // The bar of a graph of shares in percent: 100, 50 or 25 %, below that 1, 2 or 5 × 10^k %, written
    // as "25 %".
    static Bar shareBar(double pixelsPerPercent, double maxPixels, const QFont& font);
    static void paint(QPainter& painter, const QFont& font, const QPointF& topLeft, const Bar& bar) {
        paint(painter, font, topLeft, bar.height, bar.text);
    }

    // The largest amount of 1, 2 or 5 × 10^k value units whose bar is at most maxPixels tall at
    // pixelsPerUnit; 0 when there is none.
    static double amount(double pixelsPerUnit, double maxPixels);
    static double shareAmount(double pixelsPerPercent, double maxPixels);
    // The bar, barHeight pixels tall between its two end marks, with its top-left corner at topLeft
    // and the text beside it, halfway down.
    static void paint(QPainter& painter, const QFont& font, const QPointF& topLeft, double barHeight,
                      const QString& text);
    // The room paint() takes.
    static QSizeF size(const QFont& font, double barHeight, const QString& text);

private:
    // The bar of that amount, written by format.
    static Bar barOf(double amount, double pixelsPerUnit, const QFont& font,
                     const std::function<QString(double)>& format);
};
