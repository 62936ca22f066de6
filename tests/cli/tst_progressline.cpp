#include "cli/ProgressLine.h"

#include <QTest>

#include <cstdio>

namespace {

// What a progress line wrote on a stream of its own.
template <typename Use> QByteArray written(bool terminal, qint64 quiet, Use use) {
    std::FILE* stream = std::tmpfile();
    {
        ProgressLine line(stream, terminal, 4000, quiet);
        use(line);
    }
    std::rewind(stream);
    QByteArray bytes;
    char buffer[256];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
        bytes.append(buffer, qsizetype(n));
    std::fclose(stream);
    return bytes;
}

} // namespace

class ProgressLineTest : public QObject {
    Q_OBJECT
private slots:
    void showsOnlyWherePeopleWatch() {
        const auto halfway = [](ProgressLine& line) { line.report(0.5); };
        QCOMPARE(written(true, 0, halfway),
                 QByteArray("\rDrawing:  50 % (2000 of 4000 rows)\rDrawing: 100 % (4000 of 4000 rows)\n"));
        QCOMPARE(written(false, 0, halfway), QByteArray());
        // Short runs say nothing.
        QCOMPARE(written(true, 60000, halfway), QByteArray());
    }
};

QTEST_GUILESS_MAIN(ProgressLineTest)
#include "tst_progressline.moc"
