#include "labels/LabelCache.h"

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>
#include <limits>

namespace {

// Where Qt puts a text origin: the coordinate in 1/64 pixels, truncated toward zero. False
// when that does not fit Qt's fixed-point type.
bool textOrigin(double value, double* origin) {
    const double scaled = value * 64.0;
    if (!std::isfinite(scaled) || std::abs(scaled) >= double(std::numeric_limits<int>::max()))
        return false;
    *origin = double(int(scaled)) / 64.0;
    return true;
}

} // namespace

void LabelCache::startBuild() {
    previous = std::move(current);
    current = QHash<Key, QPainterPath>();
    previousElements = currentElements;
    currentElements = 0;
}

QPainterPath LabelCache::plainOutlines(const LabelPlacement& label) {
    QPainterPath path;
    if (label.isEmpty())
        return path;
    QFont font;
    font.setPixelSize(label.pixelSize);
    path.addText(label.origin, font, label.text);
    return path;
}

QPainterPath LabelCache::outlines(const LabelPlacement& label) {
    QPointF origin;
    const QPainterPath outlines = outlinesAtOrigin(label, &origin);
    return outlines.translated(origin);
}

QPainterPath LabelCache::outlinesAtOrigin(const LabelPlacement& label, QPointF* origin) {
    *origin = QPointF();
    if (label.isEmpty())
        return {};
    double x = 0.0;
    double y = 0.0;
    // Where the origin cannot be truncated as Qt does, the text is written in place.
    if (!textOrigin(label.origin.x(), &x) || !textOrigin(label.origin.y(), &y))
        return plainOutlines(label);
    *origin = QPointF(x, y);
    Key key{label.text, label.pixelSize};
    auto found = current.constFind(key);
    if (found != current.constEnd())
        return found.value();
    QPainterPath outlines;
    auto old = previous.find(key);
    if (old != previous.end()) {
        outlines = std::move(old.value());
        previous.erase(old);
        previousElements -= outlines.elementCount();
    } else {
        outlines = textOutlines(key.text, label.pixelSize);
    }
    if (currentElements + previousElements + outlines.elementCount() <= maxElements) {
        currentElements += outlines.elementCount();
        current.insert(std::move(key), outlines);
    }
    return outlines;
}

QPainterPath LabelCache::textOutlines(const QString& text, int pixelSize) {
    QFont font;
    font.setPixelSize(pixelSize);
    QTextLayout layout(text, font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    QPainterPath path;
    if (!line.isValid())
        return path;
    // Glyph positions count from the line's top; the text's origin is on its baseline.
    const double baseline = line.y() + line.ascent();
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QRawFont font = run.rawFont();
        // A font engine that cannot give the glyphs at this size gives none.
        if (!font.isValid())
            continue;
        const QString face = font.familyName() + QLatin1Char('|') + font.styleName() + QLatin1Char('|') +
                             QString::number(font.pixelSize()) + QLatin1Char('|');
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            const QString key = face + QString::number(indexes[i]);
            auto found = glyphs.constFind(key);
            if (found == glyphs.constEnd()) {
                // A glyph cache of a graph's names: far fewer than its layers, but bounded all the same.
                if (glyphs.size() > maxGlyphs)
                    glyphs.clear();
                found = glyphs.insert(key, font.pathForGlyph(indexes[i]));
            }
            path.addPath(found.value().translated(positions[i].x(), positions[i].y() - baseline));
        }
    }
    return path;
}
