#include "graph/TimeAxisFooter.h"

#include "graph/StackedGraph.h"
#include "graph/ThicknessScale.h"
#include "graph/TimeAxisPainter.h"

#include <QGuiApplication>

#include <algorithm>
#include <memory>

QFont TimeAxisFooter::font() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    return font;
}

int TimeAxisFooter::rows() {
    const TimeAxisPainter axis(font(), MonthRange(), 0.0, 1.0);
    return int(axis.height()) + 2 * scalePadding + scaleBar;
}

SceneImage::Footer TimeAxisFooter::of(const StackedGraph& graph, const QSize& imageSize) {
    const GraphLayout& layout = graph.layout();
    const QRectF source = graph.sceneRect();
    if (!layout.drawable || !(source.width() > 0.0) || !(source.height() > 0.0))
        return {};
    // The scale at which the scene is fitted into the image, as the export renders it.
    const double scale =
        std::min(imageSize.width() / source.width(), double(imageSize.height()) / source.height());
    auto axis = std::make_shared<TimeAxisPainter>(font(), layout.months, -source.left() * scale,
                                                  layout.xScale * scale);
    auto ticks = std::make_shared<QVector<TimeTick>>(axis->ticks(0.0, imageSize.width()));
    axis->dropLabelsPast(*ticks, imageSize.width());

    const double amount = ThicknessScale::amount(layout.yScale * scale, scaleBar);
    const double barHeight = amount * layout.yScale * scale;
    const QString text = amount > 0.0 ? graph.formatValue(amount, -1) : QString();
    const QFont textFont = font();
    const QSizeF scaleSize = ThicknessScale::size(textFont, barHeight, text);
    const QPointF scaleAt(scalePadding,
                          axis->height() + scalePadding + (scaleBar - scaleSize.height()) / 2.0);

    SceneImage::Footer footer;
    footer.rows = rows();
    footer.paint = [axis, ticks, amount, barHeight, text, scaleAt, scaleSize, textFont](QPainter& painter,
                                                                                        const QRect& area) {
        axis->paint(painter, *ticks, 0.0, area.left(), area.right() + 1.0);
        if (amount > 0.0 && area.intersects(QRectF(scaleAt, scaleSize).toAlignedRect()))
            ThicknessScale::paint(painter, textFont, scaleAt, barHeight, text);
    };
    return footer;
}
