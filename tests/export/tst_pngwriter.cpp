#include "export/PngWriter.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>
#include <QTest>

#include <zlib.h>

namespace {

// Noise where asked (incompressible, so pieces are as large as they get), else runs of colour.
QImage sample(const QSize& size, bool alpha, bool noise) {
    QImage image(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = noise ? random.generate() : qRgba(x / 5 % 256, y % 256, 90, alpha ? (x + y) % 256 : 255);
        if (!alpha)
            for (int x = 0; x < size.width(); ++x)
                row[x] |= 0xff000000u;
    }
    return image;
}

// The image's rows, unpacked by zlib itself from the file's data chunks (which checks the stream's
// Adler-32), after every chunk's CRC is checked; empty when anything is wrong.
QByteArray inflatedRows(const QByteArray& png, qint64 expectedLength) {
    QByteArray stream;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const uchar*>(png.constData()) + at;
        const quint32 length = quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
        const quint32 crc = quint32(p[8 + length]) << 24 | quint32(p[9 + length]) << 16 |
                            quint32(p[10 + length]) << 8 | p[11 + length];
        if (crc32(0, p + 4, length + 4) != crc)
            return {};
        if (png.mid(at + 4, 4) == "IDAT")
            stream.append(reinterpret_cast<const char*>(p + 8), length);
        at += 12 + length;
    }
    QByteArray rows(expectedLength + 1, Qt::Uninitialized);
    uLongf length = uLongf(rows.size());
    if (uncompress(reinterpret_cast<Bytef*>(rows.data()), &length,
                   reinterpret_cast<const Bytef*>(stream.constData()), uLong(stream.size())) != Z_OK ||
        qint64(length) != expectedLength)
        return {};
    rows.resize(qsizetype(length));
    return rows;
}

} // namespace

class PngWriterTest : public QObject {
    Q_OBJECT
private slots:
    // Rows are compressed in pieces on several threads: whatever the split, the file is one valid
    // stream and gives back exactly the pixels.
    void writesTheExactPixels_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("alpha");
        QTest::addColumn<bool>("noise");
        QTest::addColumn<int>("rowsPerCall");
        QTest::newRow("one pixel") << QSize(1, 1) << false << false << 1;
        QTest::newRow("one row at a time") << QSize(7, 5) << true << false << 1;
        QTest::newRow("many pieces, odd calls") << QSize(1500, 700) << false << false << 333;
        QTest::newRow("noise in many pieces") << QSize(700, 900) << true << true << 900;
        QTest::newRow("rows longer than a piece")
            << QSize(int(PngWriter::pieceBytes / 3) + 5, 3) << false << true << 3;
    }
    void writesTheExactPixels() {
        QFETCH(QSize, size);
        QFETCH(bool, alpha);
        QFETCH(bool, noise);
        QFETCH(int, rowsPerCall);
        const QImage image = sample(size, alpha, noise);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        PngWriter png(buffer);
        QVERIFY(png.begin(size, alpha));
        for (int top = 0; top < size.height(); top += rowsPerCall)
            QVERIFY2(png.writeRows(image.copy(0, top, size.width(), qMin(rowsPerCall, size.height() - top))),
                     qPrintable(png.errorString()));
        QVERIFY2(png.finish(), qPrintable(png.errorString()));
        QVERIFY(!inflatedRows(bytes, size.height() * (1 + qint64(size.width()) * (alpha ? 4 : 3))).isEmpty());
        QCOMPARE(QImage::fromData(bytes, "PNG").convertToFormat(image.format()), image);
    }

    void refusesRowsThatDoNotFit() {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        PngWriter png(buffer);
        QVERIFY(png.begin(QSize(4, 2), false));
        QVERIFY(!png.writeRows(sample(QSize(5, 1), false, false)));
        QVERIFY(!png.errorString().isEmpty());
        PngWriter unfinished(buffer);
        QVERIFY(unfinished.begin(QSize(4, 2), false));
        QVERIFY(unfinished.writeRows(sample(QSize(4, 1), false, false)));
        QVERIFY(!unfinished.finish());
        QCOMPARE(unfinished.errorString(), QStringLiteral("the image is not complete"));
    }
};

QTEST_GUILESS_MAIN(PngWriterTest)
#include "tst_pngwriter.moc"
