#include "export/PngExport.h"

#include "export/OutputFile.h"
#include "export/PngWriter.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// An image of that size whose memory the system may back with huge pages: the first touch of fresh
// memory costs a page fault every 4 KiB, which for a large band costs as much as filling it.
QImage bandImage(int width, int height, QImage::Format format) {
    constexpr size_t hugePage = size_t(2) << 20;
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    const size_t bytes = size_t(bytesPerLine) * size_t(height);
    if (bytes < hugePage)
        return QImage(width, height, format);
    void* memory = std::aligned_alloc(hugePage, (bytes + hugePage - 1) / hugePage * hugePage);
    if (!memory)
        return {};
#ifdef MADV_HUGEPAGE
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return QImage(static_cast<uchar*>(memory), width, height, bytesPerLine, format, std::free, memory);
}

QString sizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

} // namespace

bool PngExport::write(QGraphicsScene& scene, const QSize& size, const SceneImage::Frame& frame,
                      const QString& fileName, QString* error, qint64 bandBudget) {
    qint64 height = 0;
    if (!SceneImage::wholeHeight(size, frame.footer, &height, error))
        return false;
    const qint64 rowBytes = qint64(size.width()) * 4;
    if (qint64(size.width()) * height > maxPixels || rowBytes > bandBytes) {
        *error = QStringLiteral("Cannot create an image of %1 pixels: it would have more than %2 million "
                                "pixels or rows wider than %3 MiB.")
                     .arg(sizeText(QSize(size.width(), int(height))))
                     .arg(maxPixels / 1000000)
                     .arg(bandBytes / (1024 * 1024));
        return false;
    }
    const int bandRows = int(qBound(qint64(1), qMax(bandBudget, qint64(0)) / rowBytes, height));
    QImage band = bandImage(size.width(), bandRows, SceneImage::formatFor(frame.transparent));
    if (band.isNull()) {
        *error =
            QStringLiteral("Cannot create an image of %1 pixels: not enough memory.").arg(sizeText(size));
        return false;
    }
    const int footerRows = int(height) - size.height();
    return OutputFile::write(
        fileName,
        [&](QIODevice& out, QString* reason) {
            PngWriter png(out);
            // Draws count rows band by band, each into the band's first rows, and writes them.
            const auto bands = [&](int count, const auto& draw) {
                for (int top = 0; top < count; top += bandRows) {
                    QImage part(band.bits(), band.width(), qMin(bandRows, count - top), band.bytesPerLine(),
                                band.format());
                    draw(top, part);
                    if (!png.writeRows(part))
                        return false;
                }
                return true;
            };
            const bool ok = png.begin(QSize(size.width(), int(height)), frame.transparent) &&
                            bands(size.height(),
                                  [&](int top, QImage& part) {
                                      SceneImage::renderRows(scene, size, frame, top, part);
                                  }) &&
                            bands(footerRows,
                                  [&](int top, QImage& part) {
                                      SceneImage::renderFooterRows(frame.footer, top, part);
                                  }) &&
                            png.finish();
            if (!ok)
                *reason = png.errorString();
            return ok;
        },
        error);
}
