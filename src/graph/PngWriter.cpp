#include "graph/PngWriter.h"

#include <QIODevice>
#include <QImage>

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>

// libpng reports errors by a long jump back to the setjmp of the call that failed; no object with
// a destructor may live between those two points, so the calls below only touch plain data.
struct PngWriter::Png {
    png_structp write = nullptr;
    png_infop info = nullptr;
    char message[256] = {};
};

namespace {

void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<char*>(png_get_error_ptr(png));
    std::strncpy(state, message ? message : "unknown error", 255);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, size_t length) {
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
    if (device->write(reinterpret_cast<const char*>(data), qint64(length)) != qint64(length))
        png_error(png, "the data could not be written");
}

void onFlush(png_structp) {}

bool writeHeader(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height, bool alpha) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    // A graph is mostly runs of one colour: each byte less its left neighbour is mostly zeros, which
    // run-length deflate packs as tightly as the default settings do at a third of the time (the
    // default also tries every filter on every row).
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // Qt keeps a pixel as one 32-bit word 0xAARRGGBB.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (!alpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
    if (alpha)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
    return true;
}

bool writeRow(png_structp png, const unsigned char* row) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_row(png, row);
    return true;
}

bool writeEnd(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_end(png, info);
    return true;
}

} // namespace

PngWriter::PngWriter(QIODevice& out)
    : out(out) {}

PngWriter::~PngWriter() {
    if (png)
        png_destroy_write_struct(&png->write, &png->info);
    delete png;
}

bool PngWriter::begin(const QSize& imageSize, bool alpha) {
    if (png || imageSize.width() <= 0 || imageSize.height() <= 0) {
        error = QStringLiteral("no image to write");
        return false;
    }
    png = new Png;
    png->write = png_create_write_struct(PNG_LIBPNG_VER_STRING, png->message, onError, onWarning);
    if (png->write)
        png->info = png_create_info_struct(png->write);
    if (!png->write || !png->info) {
        error = QStringLiteral("not enough memory to write a PNG image");
        return false;
    }
    png_set_write_fn(png->write, &out, onWrite, onFlush);
    if (!writeHeader(png->write, png->info, png_uint_32(imageSize.width()), png_uint_32(imageSize.height()),
                     alpha)) {
        error = QString::fromLatin1(png->message);
        return false;
    }
    size = imageSize;
    return true;
}

bool PngWriter::writeRows(const QImage& rows) {
    if (!png || !error.isEmpty())
        return false;
    if (rows.width() != size.width() || rowsWritten + rows.height() > size.height() ||
        (rows.format() != QImage::Format_RGB32 && rows.format() != QImage::Format_ARGB32)) {
        error = QStringLiteral("rows do not fit the image");
        return false;
    }
    for (int y = 0; y < rows.height(); ++y) {
        if (!writeRow(png->write, rows.constScanLine(y))) {
            error = QString::fromLatin1(png->message);
            return false;
        }
    }
    rowsWritten += rows.height();
    return true;
}

bool PngWriter::finish() {
    if (!png || !error.isEmpty())
        return false;
    if (rowsWritten != size.height()) {
        error = QStringLiteral("the image is not complete");
        return false;
    }
    if (!writeEnd(png->write, png->info)) {
        error = QString::fromLatin1(png->message);
        return false;
    }
    return true;
}
