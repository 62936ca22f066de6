#include "axis/ThicknessScale.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

// Length of the end marks, and the room between bar and text.
constexpr double markLength = 7.0;
constexpr double textGap = 4.0;

} // namespace

double ThicknessScale::amount(double pixelsPerUnit, double maxPixels) {
    const double most = maxPixels / pixelsPerUnit;
    if (!(most > 0.0) || !std::isfinite(most))
        return 0.0;
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    // A little slack, so that an amount that fits exactly is not lost to rounding.
    for (double factor : {5.0, 2.0, 1.0})
        if (factor * power <= most * (1.0 + 1e-9))
            return factor * power;
    return power;
}

double ThicknessScale::shareAmount(double pixelsPerPercent, double maxPixels) {
    const double most = maxPixels / pixelsPerPercent;
    if (!(most > 0.0) || !std::isfinite(most))
        return 0.0;
    // Quarters of the whole read better than 1-2-5 steps; beyond the whole there is nothing to show.
    for (double share : {100.0, 50.0, 25.0})
        if (share <= most * (1.0 + 1e-9))
            return share;
    return amount(pixelsPerPercent, maxPixels);
}

ThicknessScale::Bar ThicknessScale::shareBar(double pixelsPerPercent, double maxPixels, const QFont& font) {
    return barOf(shareAmount(pixelsPerPercent, maxPixels), pixelsPerPercent, font,
                 [](double amount) { return QString::number(amount) + QStringLiteral(" %"); });
}

ThicknessScale::Bar ThicknessScale::bar(double pixelsPerUnit, double maxPixels, const QFont& font,
                                        const std::function<QString(double)>& format) {
    return barOf(amount(pixelsPerUnit, maxPixels), pixelsPerUnit, font, format);
}

ThicknessScale::Bar ThicknessScale::barOf(double amount, double pixelsPerUnit, const QFont& font,
                                          const std::function<QString(double)>& format) {
    Bar result;
    result.amount = amount;
    if (result.isEmpty())
        return result;
    result.height = result.amount * pixelsPerUnit;
    result.text = format(result.amount);
    result.size = size(font, result.height, result.text);
    return result;
}

void ThicknessScale::paint(QPainter& painter, const QFont& font, const QPointF& topLeft, double barHeight,
                           const QString& text) {
    const QFontMetricsF metrics(font);
    const double height = size(font, barHeight, text).height();
    const double barTop = topLeft.y() + (height - barHeight) / 2.0;
    const double middle = topLeft.x() + markLength / 2.0;
    painter.save();
    painter.setPen(QPen(QColor(40, 40, 40), 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(middle, barTop), QPointF(middle, barTop + barHeight));
    painter.setPen(QPen(QColor(40, 40, 40), 1.0, Qt::SolidLine, Qt::FlatCap));
    for (double y : {barTop, barTop + barHeight})
        painter.drawLine(QPointF(topLeft.x(), y), QPointF(topLeft.x() + markLength, y));
    painter.setFont(font);
    const double textTop = topLeft.y() + (height - metrics.height()) / 2.0;
    painter.drawText(QPointF(topLeft.x() + markLength + textGap, textTop + metrics.ascent()), text);
    painter.restore();
}

QSizeF ThicknessScale::size(const QFont& font, double barHeight, const QString& text) {
    const QFontMetricsF metrics(font);
    return QSizeF(markLength + textGap + metrics.horizontalAdvance(text),
                  std::max(barHeight, metrics.height()));
}
