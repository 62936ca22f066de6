#include "labels/FittedLabel.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The window of points first .. first + length with the most room between its highest bottom and
// its lowest top.
struct Window {
    int first = -1;
    double bottom = 0.0;
    double top = 0.0;
    double room() const { return top - bottom; }
};

// Sliding-window minimum of the tops and maximum of the bottoms, each kept in a queue of indexes
// whose values only rise (tops) or fall (bottoms) from front to back.
class WindowSearch {
public:
    explicit WindowSearch(const BandGeometry& band)
        : band(band)
        , lowestTops(size_t(band.count()))
        , highestBottoms(size_t(band.count())) {}

    // The roomiest window of length + 1 points; with enough > 0 the first that has that much room.
    Window roomiest(int length, double enough = 0.0) {
        const QVector<double>& tops = band.tops;
        const QVector<double>& bottoms = band.bottoms;
        int topsFront = 0;
        int topsBack = 0;
        int bottomsFront = 0;
        int bottomsBack = 0;
        Window best;
        for (int j = 0; j < band.count(); ++j) {
            while (topsBack > topsFront && tops[lowestTops[topsBack - 1]] >= tops[j])
                --topsBack;
            lowestTops[topsBack++] = j;
            while (bottomsBack > bottomsFront && bottoms[highestBottoms[bottomsBack - 1]] <= bottoms[j])
                --bottomsBack;
            highestBottoms[bottomsBack++] = j;
            const int first = j - length;
            if (first < 0)
                continue;
            while (lowestTops[topsFront] < first)
                ++topsFront;
            while (highestBottoms[bottomsFront] < first)
                ++bottomsFront;
            const Window window{first, bottoms[highestBottoms[bottomsFront]], tops[lowestTops[topsFront]]};
            if (best.first < 0 || window.room() > best.room()) {
                best = window;
                if (enough > 0.0 && best.room() >= enough)
                    return best;
            }
        }
        return best;
    }

private:
    const BandGeometry& band;
    std::vector<int> lowestTops;
    std::vector<int> highestBottoms;
};

} // namespace

FittedLabel::Fit FittedLabel::fit(const BandGeometry& band, const LabelFont::TextSize& text, int atLeast) {
    const int n = band.count();
    // What the text needs, per pixel of size, with the margins around it.
    const double perPixel = text.height() + 2.0 * margin;
    const double widthPerPixel = text.width + 2.0 * margin;
    if (n < 2 || !(text.width > 0.0) || !(text.height() > 0.0) || !(band.xScale > 0.0) ||
        !(band.yScale > 0.0))
        return {};
    double thickest = 0.0;
    for (int k = 0; k < n; ++k)
        thickest = std::max(thickest, band.tops[k] - band.bottoms[k]);
    // No window has more room than the thickest point, and none is wider than the band.
    const double upper =
        std::min({thickest * band.yScale / perPixel, (n - 1) * band.xScale / widthPerPixel, double(largest)});
    atLeast = std::max(atLeast, 1);
    if (!(upper >= atLeast))
        return {};

    WindowSearch search(band);
    const auto months = [&](int size) { return size * widthPerPixel / band.xScale; };
    // Points a box of that size with its margins touches, less one.
    const auto length = [&](int size) { return std::max(1, int(std::ceil(months(size)))); };
    const auto room = [&](int size) { return size * perPixel / band.yScale; };
    const auto fits = [&](int size) {
        const int points = length(size);
        return points < n && search.roomiest(points, room(size)).room() >= room(size);
    };
    if (!fits(atLeast))
        return {};
    int low = atLeast;
    int high = int(upper);
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }

    const int points = length(low);
    const Window window = search.roomiest(points);
    const double left = window.first + 0.5 * (points - low * text.width / band.xScale);
    const double top = 0.5 * (window.bottom + window.top) + 0.5 * low * text.height() / band.yScale;
    Fit result;
    result.pixelSize = low;
    result.box =
        QRectF((band.first + left) * band.xScale, -top * band.yScale, low * text.width, low * text.height());
    result.origin = QPointF(result.box.left(), result.box.top() + low * text.ascent);
    return result;
}

LabelPlacement FittedLabel::place(const BandGeometry& band, const QString& name, const QString& shortened,
                                  const Measure& measure) {
    if (name.isEmpty())
        return {};
    QString text = name;
    Fit best = fit(band, measure(name));
    if (shortened != name) {
        const Fit shorter = fit(band, measure(shortened), 2 * best.pixelSize);
        if (shorter.pixelSize > 0) {
            best = shorter;
            text = shortened;
        }
    }
    if (best.pixelSize < 1 || !(best.box.height() >= 1.0))
        return {};
    LabelPlacement label;
    label.text = text;
    label.pixelSize = best.pixelSize;
    label.origin = best.origin;
    return label;
}
