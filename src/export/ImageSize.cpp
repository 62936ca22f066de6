#include "export/ImageSize.h"

#include <algorithm>
#include <limits>

namespace {

int scaled(int value, int index) {
    switch (index) {
    case 0:
        return value / 4;
    case 1:
        return value / 2;
    case 2:
        return value;
    default: {
        const qint64 factor = index == 3 ? 2 : 4;
        const qint64 product = qint64(value) * factor;
        return int(
            std::clamp<qint64>(product, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }
    }
}

} // namespace

QSize ImageSize::forChoice(int index, int width, int height) {
    if (index < 0 || index >= choiceCount)
        return QSize(16, 10);
    return QSize(scaled(width, index), scaled(height, index));
}

int ImageSize::truncated(double extent) {
    if (!(extent > 0.0))
        return 0;
    return extent >= double(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max() : int(extent);
}

QString ImageSize::text(const QSize& size) {
    return QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height());
}
