#include "data/DataFileReader.h"
#include "data/SeriesNormalizer.h"

#include "support/DataSetText.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The reader works on views and scans; this test holds it against a slow, literal rendering of
// the reading sequence (a piece buffer filled byte by byte, texts stripped by copying, points
// inserted one by one) over many nearly-well-formed files.
namespace {

struct Literal {
    DataSet data;
    bool refused = false;
    int seriesRead = 0;
    int dropped = 0;
};

class LiteralReader {
public:
    explicit LiteralReader(const QByteArray& file)
        : m_file(file) {}

    Literal read() {
        Literal result;
        DataSet& data = result.data;
        readTo('[');
        readTo('"');
        readTo('"');
        data.unitText = decode(m_piece);
        readTo('|');
        const QByteArray flag = stripped(m_piece, ", \r\n\t");
        data.unitAfterValue = !(flag == "false" || flag == "FALSE");
        readTo(']');
        QByteArray suffixes = m_piece;
        while (suffixes.contains('"')) {
            const qsizetype open = suffixes.indexOf('"');
            const qsizetype close = suffixes.indexOf('"', open + 1);
            if (data.magnitudeSuffixes.size() < DataFileReader::maxSuffixes)
                data.magnitudeSuffixes.append(
                    decode(suffixes.mid(open + 1, close < 0 ? -1 : close - open - 1)));
            if (close < 0)
                break;
            suffixes.remove(0, close + 1);
        }
        readTo('{');
        while (!m_ended) {
            DataSeries series;
            readTo('"');
            readTo('"');
            series.name = decode(m_piece);
            readTo('{');
            readTo('}');
            QByteArray points = stripped(m_piece, "\r\n \t");
            QVector<int> fields;
            while (points.contains('(')) {
                const qsizetype open = points.indexOf('(');
                const qsizetype close = points.indexOf(')', open + 1);
                int named = 0;
                series.points.append(
                    parsePoint(points.mid(open + 1, close < 0 ? -1 : close - open - 1), named));
                if (!(series.points.last().value <= 1e300))
                    result.refused = true;
                fields.append(named);
                if (close < 0)
                    break;
                points.remove(0, close + 1);
            }
            fillMissing(series.points, fields);
            data.series.append(series);
            readTo('{');
        }
        result.seriesRead = int(data.series.size());
        for (qsizetype i = data.series.size() - 1; i >= 0; --i) {
            if (data.series[i].points.size() < 2) {
                data.series.removeAt(i);
                ++result.dropped;
            }
        }
        const auto before = [](const DataPoint& a, const DataPoint& b) {
            return a.year < b.year || (a.year == b.year && a.month < b.month);
        };
        for (DataSeries& s : data.series)
            std::stable_sort(s.points.begin(), s.points.end(), before);
        std::stable_sort(
            data.series.begin(), data.series.end(),
            [&](const DataSeries& a, const DataSeries& b) { return before(a.points[0], b.points[0]); });
        result.refused = result.refused || tooLong(data);
        if (result.refused)
            return result;
        for (DataSeries& s : data.series)
            normalise(s.points);
        return result;
    }

private:
    void readTo(char delimiter) {
        if (m_ended)
            return;
        m_piece.clear();
        while (true) {
            if (m_pos >= m_file.size()) {
                m_ended = true;
                return;
            }
            const char c = m_file[m_pos++];
            if (c == delimiter)
                return;
            m_piece.append(c);
        }
    }

    static QByteArray stripped(QByteArray text, const char* removed) {
        for (const char* r = removed; *r; ++r)
            text.replace(*r, QByteArray());
        return text;
    }

    static QString decode(const QByteArray& bytes) {
        const QString utf8 = QString::fromUtf8(bytes);
        return utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);
    }

    static qint32 integerAtStart(const QByteArray& text) {
        static const QRegularExpression integer(QStringLiteral("^[+-]?[0-9]+"));
        const QString match = integer.match(QString::fromLatin1(text)).captured();
        if (match.isEmpty())
            return 0;
        const bool negative = match.startsWith(QLatin1Char('-'));
        QString digits = match.mid(match[0].isDigit() ? 0 : 1);
        while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        if (digits.size() > 11)
            return negative ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint32>::max();
        const qint64 value = negative ? -digits.toLongLong() : digits.toLongLong();
        return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                         std::numeric_limits<qint32>::max()));
    }

    static double numberAtStart(const QByteArray& text) {
        static const QRegularExpression number(
            QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?"));
        const QString match = number.match(QString::fromLatin1(text)).captured();
        return match.isEmpty() ? 0.0 : std::strtod(match.toLatin1().constData(), nullptr);
    }

    static DataPoint parsePoint(QByteArray text, int& named) {
        DataPoint point;
        if (text.contains(',')) {
            point.year = integerAtStart(text);
            named |= 1;
            text.remove(0, text.indexOf(',') + 1);
            if (text.contains(',')) {
                point.month = std::clamp(integerAtStart(text), 1, 12);
                named |= 2;
                text.remove(0, text.indexOf(',') + 1);
            }
        }
        const double value = numberAtStart(text);
        point.value = value > 0 ? value : 0.0;
        return point;
    }

    static void fillMissing(QVector<DataPoint>& points, const QVector<int>& fields) {
        for (int bit : {1, 2}) {
            qsizetype first = 0;
            while (first < points.size() && !(fields[first] & bit))
                ++first;
            for (qsizetype i = 0; i < points.size(); ++i) {
                if (fields[i] & bit)
                    continue;
                const DataPoint* from = first == points.size() ? nullptr
                                        : i < first            ? &points[first]
                                                               : &points[i - 1];
                if (bit == 1)
                    points[i].year = from ? from->year : 0;
                else
                    points[i].month = from ? from->month : 1;
            }
        }
    }

    static qint64 index(const DataPoint& p) { return qint64(p.year) * 12 + p.month; }

    static bool tooLong(const DataSet& data) {
        if (data.series.isEmpty())
            return false;
        qint64 first = index(data.series[0].points[0]);
        qint64 last = first;
        qint64 total = 0;
        for (const DataSeries& s : data.series) {
            for (qsizetype i = 0; i + 1 < s.points.size(); ++i) {
                if (index(s.points[i + 1]) - index(s.points[i]) - 1 > SeriesNormalizer::maxFilledGap)
                    return true;
            }
            first = std::min(first, index(s.points.first()));
            last = std::max(last, index(s.points.last()));
            total += index(s.points.last()) - index(s.points.first()) + 1;
        }
        return last - first > SeriesNormalizer::maxMonthSpan || total > SeriesNormalizer::maxTotalPoints;
    }

    static void normalise(QVector<DataPoint>& points) {
        qsizetype i = 0;
        while (i + 1 < points.size()) {
            const qint64 n = index(points[i + 1]) - index(points[i]);
            if (n == 0) {
                points.removeAt(i + 1);
                continue;
            }
            const double a = points[i].value;
            const double b = points[i + 1].value;
            QVector<DataPoint> inserted;
            for (qint64 j = 1; j < n; ++j) {
                DataPoint p;
                p.year = points[i].year;
                p.month = points[i].month + int(j % 12);
                p.year += int(j / 12);
                while (p.month > 12) {
                    p.month -= 12;
                    ++p.year;
                }
                p.value = a + (double(j) / double(n)) * (b - a);
                inserted.append(p);
            }
            if (!inserted.isEmpty())
                points = points.mid(0, i + 1) + inserted + points.mid(i + 1);
            ++i;
        }
    }

    QByteArray m_file;
    qsizetype m_pos = 0;
    bool m_ended = false;
    QByteArray m_piece;
};

const QByteArray bases[] = {
    "[ \"EUR\", false | \"\" \" k\" \" M\" ]\n{\n"
    "  { \"Alpha\" { (2008,1,1500) (2008,2,2500.5) (2008,4,1000) } }\n"
    "  { \"Beta\"  { (2008,1,40), (2007,11,20) } }\n"
    "  { \"Gamma\" { (2008,3,7) } }\n}\n",
    "[\"k\xc3\xa4\"FALSE|\"a\"]{{\"\xfc\"{(1,12,-1)(2,1,1e2)(7)(1,5)}}{\"\"{(0,0,0)(0,13,.5)}}}",
};

bool samePoints(const DataSet& a, const DataSet& b) {
    if (a.series.size() != b.series.size())
        return false;
    for (qsizetype i = 0; i < a.series.size(); ++i) {
        const QVector<DataPoint>& p = a.series[i].points;
        const QVector<DataPoint>& q = b.series[i].points;
        if (a.series[i].name != b.series[i].name || p.size() != q.size())
            return false;
        for (qsizetype k = 0; k < p.size(); ++k) {
            if (p[k].year != q[k].year || p[k].month != q[k].month || p[k].value != q[k].value)
                return false;
        }
    }
    return true;
}

void compare(const QByteArray& file) {
    const Literal expected = LiteralReader(file).read();
    const DataFileResult actual = DataFileReader::readBytes(file);
    QVERIFY2(actual.ok() != expected.refused, file.constData());
    if (!actual.ok())
        return;
    QCOMPARE(DataSetText::headerText(actual.data), DataSetText::headerText(expected.data));
    // Texts only on a mismatch: filled gaps can make tens of thousands of points.
    if (!samePoints(actual.data, expected.data))
        QCOMPARE(DataSetText::seriesText(actual.data), DataSetText::seriesText(expected.data));
    QCOMPARE(actual.seriesRead, expected.seriesRead);
    QCOMPARE(actual.droppedSeries, expected.dropped);
}

} // namespace

class ReadingSequenceTest : public QObject {
    Q_OBJECT
private slots:
    void truncationsAndInsertions_data() {
        QTest::addColumn<QByteArray>("base");
        QTest::newRow("worked example") << bases[0];
        QTest::newRow("odd fields") << bases[1];
    }
    // Every prefix, and every delimiter inserted or a byte deleted at every position: unbalanced
    // quotes, brackets, braces and parentheses everywhere.
    void truncationsAndInsertions() {
        QFETCH(QByteArray, base);
        for (qsizetype i = 0; i <= base.size(); ++i) {
            compare(base.left(i));
            if (QTest::currentTestFailed())
                return;
            if (i < base.size()) {
                compare(QByteArray(base).remove(i, 1));
                if (QTest::currentTestFailed())
                    return;
            }
            for (char c : QByteArray("[]{}()\"|, -.e")) {
                compare(QByteArray(base).insert(i, c));
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    void randomFiles() {
        // Fixed seed: a failure must be reproducible.
        QRandomGenerator random(20081);
        const QByteArray alphabet("[]{}()\"\"\"|,,,,  \n\t-+.eE0123456789012345678901234569xX\xc3\xa4\xfc");
        const QByteArray tokens[] = {"(2008,1,1)", "(2007,12,5)", "{ \"S\" {", "} }",
                                     "[ \"u\" |",  "\" k\" ]",    "1e999"};
        for (int n = 0; n < 10000; ++n) {
            QByteArray file;
            const int length = int(random.bounded(200));
            for (int k = 0; k < length; ++k) {
                if (random.bounded(4) == 0)
                    file += tokens[random.bounded(int(std::size(tokens)))];
                else
                    file += alphabet[random.bounded(int(alphabet.size()))];
            }
            compare(file);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_GUILESS_MAIN(ReadingSequenceTest)
#include "tst_readingsequence.moc"
