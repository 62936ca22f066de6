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
    return int(TimeAxisPainter::height(QFontMetricsF(font()))) + 2 * scalePadding + scaleBar;
}

SceneImage::Footer TimeAxisFooter::of(const StackedGraph& graph, const QSize& imageSize,
                                      SceneImage::Placement placement) {
    const GraphLayout& layout = graph.layout();
    const QRectF source = graph.sceneRect();
    const QRectF target = SceneImage::target(source, imageSize, placement);
    if (!layout.drawable || target.isNull())
        return {};
    // The scale at which the scene is fitted into its place in the image, as the export renders it.
    const double scale = std::min(target.width() / source.width(), target.height() / source.height());
    auto axis = std::make_shared<TimeAxisPainter>(
        font(), layout.months, target.left() - source.left() * scale, layout.xScale * scale);
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
