#include "export/TimeAxisFooter.h"

#include "axis/ThicknessScale.h"
#include "axis/TimeAxisPainter.h"
#include "graph/GraphLayout.h"
#include "graph/ValueFormatter.h"

#include <QGuiApplication>

#include <algorithm>
#include <memory>

QFont TimeAxisFooter::font() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(13);
    return font;
}

int TimeAxisFooter::rows() {
    return int(TimeAxisPainter::height(QFontMetricsF(font()))) + 2 * barPadding + barRows;
}

SceneImage::Footer TimeAxisFooter::of(const GraphLayout& layout, const ValueFormatter& values,
                                      const QSize& imageSize, SceneImage::Placement placement) {
    const QRectF source = layout.sceneRect;
    const QRectF target = SceneImage::target(source, imageSize, placement);
    if (!layout.drawable || target.isNull())
        return {};
    // The scale at which the scene is fitted into its place in the image, as the export renders it.
    const double scale = std::min(target.width() / source.width(), target.height() / source.height());
    auto axis = std::make_shared<TimeAxisPainter>(
        font(), layout.months, target.left() - source.left() * scale, layout.xScale * scale);
    auto ticks = std::make_shared<QVector<TimeTick>>(axis->ticks(0.0, imageSize.width()));
    axis->dropLabelsPast(*ticks, imageSize.width());

    const QFont textFont = font();
    const ThicknessScale::Bar bar =
        layout.shares ? ThicknessScale::shareBar(layout.yScale * scale, barRows, textFont)
                      : ThicknessScale::bar(layout.yScale * scale, barRows, textFont,
                                            [&values](double amount) { return values.format(amount, -1); });
    const QPointF scaleAt(barPadding, axis->height() + barPadding + (barRows - bar.size.height()) / 2.0);

    SceneImage::Footer footer;
    footer.rows = rows();
    footer.paint = [axis, ticks, bar, scaleAt, textFont](QPainter& painter, const QRect& area) {
        axis->paint(painter, *ticks, 0.0, area.left(), area.right() + 1.0);
        if (!bar.isEmpty() && area.intersects(QRectF(scaleAt, bar.size).toAlignedRect()))
            ThicknessScale::paint(painter, textFont, scaleAt, bar);
    };
    return footer;
}
