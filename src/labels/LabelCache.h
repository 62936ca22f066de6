#pragma once

#include "labels/LabelPlacement.h"

#include <QHash>
#include <QPainterPath>
#include <QString>

// Glyph outlines of layer labels, laid out once per text and pixel size at the origin and moved
// into place. Qt positions text in 1/64 pixel steps, truncating the origin, so moving the
// outlines by the truncated origin gives what writing the text there gives. Keeps what the
// last two builds used, up to a limit: a rebuild at a nearby width finds most of its labels.
class LabelCache {
public:
    // Call at the start of every build.
    void startBuild();
    // The label's glyph outlines in place: what QPainterPath::addText gives for it.
    QPainterPath outlines(const LabelPlacement& label);
    // The same in two halves, for moving them into place elsewhere (on other threads): the outlines at
    // the text's origin, shared with the cache, and where that origin goes; translated there, they are
    // what outlines gives.
    QPainterPath outlinesAtOrigin(const LabelPlacement& label, QPointF* origin);
    // The same, written with addText itself; empty for an empty label.
    static QPainterPath plainOutlines(const LabelPlacement& label);

    int size() const { return int(current.size() + previous.size()); }

    // Path elements kept at most: labels are large paths, and a graph of many layers drawn once
    // should not carry a second copy of all of them.
    static constexpr qint64 maxElements = 1 << 20;
    // Glyph outlines kept at most.
    static constexpr qsizetype maxGlyphs = 4096;

private:
    struct Key {
        QString text;
        int pixelSize = 0;
        bool operator==(const Key& other) const { return pixelSize == other.pixelSize && text == other.text; }
    };
    friend size_t qHash(const Key& key, size_t seed) { return qHashMulti(seed, key.text, key.pixelSize); }

    // The text's glyph outlines with the left end of its baseline at the origin, as QPainterPath::addText
    // gives them: each glyph's outline loaded once per font and size and moved to its place.
    QPainterPath textOutlines(const QString& text, int pixelSize);

    QHash<Key, QPainterPath> current;
    QHash<Key, QPainterPath> previous;
    qint64 currentElements = 0;
    qint64 previousElements = 0;
    // Glyph outlines at the origin by font, size and glyph; names share most of their letters.
    QHash<QString, QPainterPath> glyphs;
};
