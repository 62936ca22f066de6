#pragma once

#include <QSize>
#include <QString>

class QIODevice;
class QImage;

// Writes a PNG image to a device rows at a time, so that an image never has to be whole in memory.
// Rows come as QImage::Format_RGB32 (written as RGB) or Format_ARGB32 (written as RGBA); the rows of
// one call are compressed on every core at once.
class PngWriter {
public:
    explicit PngWriter(QIODevice& out);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    bool begin(const QSize& size, bool alpha);
    // The next rows of the image, top first; their width must be the image's.
    bool writeRows(const QImage& rows);
    // Ends the image; false when it was not written whole.
    bool finish();
    // What went wrong, after a false.
    QString errorString() const { return error; }

    // The largest width and height PNG allows.
    static constexpr qint64 maxSide = 0x7fffffff;
    // About how many bytes of rows are compressed as one piece: pieces compress apart, so fewer, larger
    // pieces pack a little tighter, more pieces share out better among the cores.
    static constexpr qint64 pieceBytes = qint64(1) << 20;

private:
    bool fail();

    struct Png;
    QIODevice& out;
    Png* png = nullptr;
    QSize size;
    bool alpha = false;
    int rowsWritten = 0;
    QString error;
};
