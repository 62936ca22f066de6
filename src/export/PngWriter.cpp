#include "export/PngWriter.h"

#include "render/ParallelWork.h"

#include <QIODevice>
#include <QImage>
#include <QThread>
#include <QVector>

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
    uLong adler = 1; // of all the image's bytes so far
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
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    return true;
}

bool writeChunk(png_structp png, const char* type, const unsigned char* data, size_t length) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_write_chunk(png, reinterpret_cast<png_const_bytep>(type), data, length);
    return true;
}

// One row as PNG stores it: the filter type, then each byte less the one a pixel to its left. A graph is
// mostly runs of one colour, so this is mostly zeros, which run-length deflate packs as tightly as zlib's
// default settings at a third of their time (the default also tries every filter on every row).
template <bool alpha> void filterRow(const unsigned char* pixels, int width, unsigned char* out) {
    *out++ = 1; // the "Sub" filter
    const auto* words = reinterpret_cast<const quint32*>(pixels);
    quint32 left = 0;
    for (int x = 0; x < width; ++x) {
        const quint32 word = words[x]; // 0xAARRGGBB
        // Each byte less its neighbour's, modulo 256, all four at once without borrows between them.
        const quint32 d = ((word | 0x80808080u) - (left & 0x7f7f7f7fu)) ^ ((word ^ ~left) & 0x80808080u);
        left = word;
        out[0] = static_cast<unsigned char>(d >> 16);
        out[1] = static_cast<unsigned char>(d >> 8);
        out[2] = static_cast<unsigned char>(d);
        if constexpr (alpha)
            out[3] = static_cast<unsigned char>(d >> 24);
        out += alpha ? 4 : 3;
    }
}

// A piece of the image's rows, deflated on its own so that pieces can be packed on every core at once:
// raw deflate ending on a byte boundary without closing the stream, and the Adler-32 of its bytes, so
// that the pieces, in order, make one zlib stream.
struct Piece {
    QByteArray deflated;
    uLong adler = 0;
    qint64 length = 0;
    bool ok = false;
};

Piece deflatePiece(const QImage& rows, int first, int count, bool alpha) {
    Piece piece;
    const qint64 rowLength = 1 + qint64(rows.width()) * (alpha ? 4 : 3);
    QByteArray filtered(rowLength, Qt::Uninitialized);
    auto* row = reinterpret_cast<unsigned char*>(filtered.data());
    z_stream z = {};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return piece;
    piece.adler = adler32(0, nullptr, 0);
    piece.deflated.resize(qsizetype(deflateBound(&z, uLong(rowLength * count)) + 16));
    z.next_out = reinterpret_cast<Bytef*>(piece.deflated.data());
    z.avail_out = uInt(piece.deflated.size());
    bool ok = true;
    for (int y = first; y < first + count && ok; ++y) {
        if (alpha)
            filterRow<true>(rows.constScanLine(y), rows.width(), row);
        else
            filterRow<false>(rows.constScanLine(y), rows.width(), row);
        piece.adler = adler32_z(piece.adler, row, size_t(rowLength));
        z.next_in = row;
        z.avail_in = uInt(rowLength);
        const bool last = y + 1 == first + count;
        // Room to spare after the flush means deflate has handed out all it had.
        ok = deflate(&z, last ? Z_SYNC_FLUSH : Z_NO_FLUSH) == Z_OK && z.avail_in == 0 &&
             (!last || z.avail_out > 0);
    }
    piece.deflated.resize(qsizetype(z.total_out));
    piece.length = rowLength * count;
    piece.ok = ok;
    deflateEnd(&z);
    return piece;
}

} // namespace

PngWriter::PngWriter(QIODevice& out)
    : out(out) {}

PngWriter::~PngWriter() {
    if (png)
        png_destroy_write_struct(&png->write, &png->info);
    delete png;
}

bool PngWriter::begin(const QSize& imageSize, bool withAlpha) {
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
                     withAlpha)) {
        error = QString::fromLatin1(png->message);
        return false;
    }
    size = imageSize;
    alpha = withAlpha;
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
    if (rowsWritten == 0) {
        // The zlib header: deflate with a 32 KiB window, fastest level.
        static const unsigned char header[2] = {0x78, 0x01};
        if (!writeChunk(png->write, "IDAT", header, 2))
            return fail();
    }
    // Pieces of about pieceBytes, packed a round at a time, so that only a round's output is held.
    const qint64 rowLength = 1 + qint64(size.width()) * (alpha ? 4 : 3);
    const int pieceRows = int(qBound(qint64(1), pieceBytes / rowLength, qint64(rows.height())));
    const int pieceCount = (rows.height() + pieceRows - 1) / pieceRows;
    const int round = 2 * qMax(1, QThread::idealThreadCount());
    QVector<Piece> pieces;
    for (int start = 0; start < pieceCount; start += round) {
        const int count = qMin(round, pieceCount - start);
        pieces.fill(Piece(), count);
        forEachInParallel(count, [&](int i) {
            const int first = (start + i) * pieceRows;
            pieces[i] = deflatePiece(rows, first, qMin(pieceRows, rows.height() - first), alpha);
        });
        for (const Piece& piece : pieces) {
            if (!piece.ok) {
                error = QStringLiteral("the image could not be compressed");
                return false;
            }
            if (!writeChunk(png->write, "IDAT",
                            reinterpret_cast<const unsigned char*>(piece.deflated.constData()),
                            size_t(piece.deflated.size())))
                return fail();
            png->adler = adler32_combine(png->adler, piece.adler, z_off_t(piece.length));
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
    // An empty last block closes the deflate stream, then comes the Adler-32 of the whole image.
    const unsigned char end[6] = {0x03,
                                  0x00,
                                  static_cast<unsigned char>(png->adler >> 24),
                                  static_cast<unsigned char>(png->adler >> 16),
                                  static_cast<unsigned char>(png->adler >> 8),
                                  static_cast<unsigned char>(png->adler)};
    if (!writeChunk(png->write, "IDAT", end, sizeof end) || !writeChunk(png->write, "IEND", nullptr, 0))
        return fail();
    return true;
}

bool PngWriter::fail() {
    error = QString::fromLatin1(png->message);
    return false;
}
