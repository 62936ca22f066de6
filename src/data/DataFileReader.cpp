#include "data/DataFileReader.h"

#include "data/FileText.h"
#include "data/InputFile.h"
#include "data/NumberParser.h"
#include "data/SeriesNormalizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr char quote = '"';

using Span = TextSpan;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

const char* find(const char* begin, const char* end, char c) {
    // An empty compacted point text has no storage behind it, and memchr must not see null.
    if (begin == end)
        return nullptr;
    return static_cast<const char*>(std::memchr(begin, c, size_t(end - begin)));
}

// The read-to step. The piece is a view into the file's bytes, so "the piece buffer keeps its
// text once the input has ended" comes for free: the view is simply not replaced.
class PieceReader {
public:
    PieceReader(const char* begin, const char* end)
        : m_pos(begin)
        , m_end(end)
        , m_piece{begin, begin} {}

    void readTo(char delimiter) {
        if (m_ended)
            return;
        const char* found = find(m_pos, m_end, delimiter);
        if (found) {
            m_piece = {m_pos, found};
            m_pos = found + 1;
        } else {
            m_piece = {m_pos, m_end};
            m_pos = m_end;
            m_ended = true;
        }
    }

    bool ended() const { return m_ended; }
    Span piece() const { return m_piece; }

private:
    const char* m_pos;
    const char* m_end;
    Span m_piece;
    bool m_ended = false;
};

constexpr unsigned char hasYear = 1;
constexpr unsigned char hasMonth = 2;

// A point text: year, comma, month, comma, value; blanks already removed. Returns which of
// year and month the text named.
unsigned char parsePoint(const char* p, const char* end, DataPoint& point) {
    unsigned char fields = 0;
    // The integer stops at the first comma at the latest, so the search goes on from there.
    qint32 year = 0;
    const char* stop = NumberParser::parseInteger(p, end, year);
    const char* comma = stop < end && *stop == ',' ? stop : find(stop, end, ',');
    if (comma) {
        point.year = year;
        fields |= hasYear;
        p = comma + 1;
        qint32 month = 0;
        stop = NumberParser::parseInteger(p, end, month);
        comma = stop < end && *stop == ',' ? stop : find(stop, end, ',');
        if (comma) {
            point.month = std::clamp(month, 1, 12);
            fields |= hasMonth;
            p = comma + 1;
        }
    }
    double value = 0.0;
    NumberParser::parseDouble(p, end, value);
    // Negatives become 0; so does -0, which would otherwise be shown as "-0".
    point.value = value > 0.0 ? value : 0.0;
    return fields;
}

// A point text without a year or month takes it from the point before it in the file; points
// before the first one that names the field take it from that one, and when no point of the
// series names it at all, the year is 0 and the month 1. So a stray number never opens a gap
// back to year 0.
void fillMissingFields(QVector<DataPoint>& points, const std::vector<unsigned char>& fields) {
    const size_t count = size_t(points.size());
    size_t firstYear = 0;
    while (firstYear < count && !(fields[firstYear] & hasYear))
        ++firstYear;
    size_t firstMonth = 0;
    while (firstMonth < count && !(fields[firstMonth] & hasMonth))
        ++firstMonth;
    for (size_t i = 0; i < count; ++i) {
        if (!(fields[i] & hasYear))
            points[i].year = firstYear == count ? 0
                             : i < firstYear    ? points[firstYear].year
                                                : points[i - 1].year;
        if (!(fields[i] & hasMonth))
            points[i].month = firstMonth == count ? 1
                              : i < firstMonth    ? points[firstMonth].month
                                                  : points[i - 1].month;
    }
}

// One table look-up per byte while scanning a point text for its end and for blanks.
constexpr unsigned char blankByte = 1;
constexpr unsigned char closing = 2;
struct ByteKinds {
    unsigned char kind[256] = {};
    constexpr ByteKinds() {
        kind[' '] = kind['\t'] = kind['\n'] = kind['\r'] = blankByte;
        kind[')'] = closing;
    }
};
constexpr ByteKinds byteKinds;

// Point groups are usually a byte or two apart: look there before paying for a memchr call.
const char* findNear(const char* p, const char* end, char c) {
    for (int k = 0; k < 8 && p < end; ++k, ++p) {
        if (*p == c)
            return p;
    }
    return find(p, end, c);
}

struct Parentheses {
    qsizetype open = 0;
    qsizetype close = 0;
};

// Counts "(" and ")" eight bytes at a time: every byte lane of a word counts its own matches.
Parentheses countParentheses(const char* p, const char* end) {
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 low7 = 0x7F7F7F7F7F7F7F7FULL;
    constexpr quint64 evenBytes = 0x00FF00FF00FF00FFULL;
    const auto matches = [](quint64 word, quint64 pattern) {
        const quint64 x = word ^ pattern;
        return ~(((x & low7) + low7) | x | low7) >> 7; // 1 in each lane whose byte matched
    };
    const auto laneSum = [](quint64 lanes) {
        lanes = (lanes & evenBytes) + ((lanes >> 8) & evenBytes);
        return qsizetype((lanes * 0x0001000100010001ULL) >> 48);
    };
    Parentheses counted;
    while (end - p >= 8) {
        quint64 open = 0;
        quint64 close = 0;
        for (int k = 0; k < 255 && end - p >= 8; ++k, p += 8) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            open += matches(word, ones * '(');
            close += matches(word, ones * ')');
        }
        counted.open += laneSum(open);
        counted.close += laneSum(close);
    }
    for (; p < end; ++p) {
        counted.open += *p == '(';
        counted.close += *p == ')';
    }
    return counted;
}

class SeriesParser {
public:
    // Returns an error text, or an empty one. Blanks inside a point text do not count, so a
    // point text is used in place when it has none and compacted otherwise.
    QString parse(Span text, const QString& name, int seriesNumber, QVector<DataPoint>& points) {
        // Every point but the last needs its own "(" and ")", so this bounds the count and the
        // points go straight into place, without growing or copying (growth is only a safeguard).
        const Parentheses counted = countParentheses(text.begin, text.end);
        const qsizetype bound = std::min(counted.open, counted.close + 1);
        points.resize(bound);
        DataPoint* out = points.data();
        qsizetype count = 0;
        m_fields.clear();
        m_fields.reserve(size_t(bound));
        unsigned char allFields = hasYear | hasMonth;
        const char* p = text.begin;
        const char* const end = text.end;
        while (const char* open = findNear(p, end, '(')) {
            const char* close = open + 1;
            unsigned char seen = 0;
            for (; close < end; ++close) {
                const unsigned char kind = byteKinds.kind[static_cast<unsigned char>(*close)];
                if (kind & closing)
                    break;
                seen |= kind;
            }
            const bool blank = seen & blankByte;
            Span pointText{open + 1, close};
            if (blank) {
                m_compact.clear();
                std::copy_if(pointText.begin, pointText.end, std::back_inserter(m_compact),
                             [](char c) { return !isBlank(c); });
                pointText = {m_compact.data(), m_compact.data() + m_compact.size()};
            }
            DataPoint point;
            const unsigned char fields = parsePoint(pointText.begin, pointText.end, point);
            if (!(point.value <= SeriesNormalizer::maxValue)) {
                // One multi-argument arg() call, so a "%1" inside a name is not replaced again.
                return QStringLiteral("Series %1 \"%2\", point %3 (%4): the value is too large "
                                      "(more than 1e300, or beyond what a number can hold).")
                    .arg(QString::number(seriesNumber), FileText::shortened(name), QString::number(count + 1),
                         FileText::shortened(FileText::decode(pointText)));
            }
            allFields &= fields;
            m_fields.push_back(fields);
            if (count == points.size()) {
                points.resize(2 * count + 1);
                out = points.data();
            }
            out[count++] = point;
            if (close == end)
                break;
            p = close + 1;
        }
        points.resize(count);
        if (count < bound / 2)
            points.squeeze();
        if (allFields != (hasYear | hasMonth))
            fillMissingFields(points, m_fields);
        return QString();
    }

private:
    std::vector<unsigned char> m_fields; // which of year and month each point text named
    std::vector<char> m_compact;
};

bool isFalseFlag(Span piece) {
    static const char word[] = "false";
    static const char upper[] = "FALSE";
    int length = 0;
    bool lower = true;
    bool capital = true;
    for (const char* p = piece.begin; p < piece.end; ++p) {
        if (*p == ',' || isBlank(*p))
            continue;
        if (length == 5)
            return false;
        lower = lower && *p == word[length];
        capital = capital && *p == upper[length];
        if (!lower && !capital)
            return false;
        ++length;
    }
    return length == 5;
}

void readSuffixes(Span piece, QVector<QString>& suffixes) {
    const char* p = piece.begin;
    while (const char* open = find(p, piece.end, quote)) {
        const char* close = find(open + 1, piece.end, quote);
        if (suffixes.size() < DataFileReader::maxSuffixes)
            suffixes.append(FileText::decode({open + 1, close ? close : piece.end}));
        else
            return;
        if (!close)
            return;
        p = close + 1;
    }
}

} // namespace

DataFileResult DataFileReader::readBytes(const QByteArray& bytes) {
    DataFileResult result;
    DataSet& data = result.data;
    PieceReader reader(bytes.constData(), bytes.constData() + bytes.size());

    reader.readTo('[');
    reader.readTo(quote);
    reader.readTo(quote);
    data.unitText = FileText::decode(reader.piece());
    reader.readTo('|');
    data.unitAfterValue = !isFalseFlag(reader.piece());
    reader.readTo(']');
    readSuffixes(reader.piece(), data.magnitudeSuffixes);
    reader.readTo('{');

    SeriesParser parser;
    while (!reader.ended()) {
        DataSeries series;
        reader.readTo(quote);
        reader.readTo(quote);
        series.name = FileText::decode(reader.piece());
        reader.readTo('{');
        reader.readTo('}');
        ++result.seriesRead;
        const QString error = parser.parse(reader.piece(), series.name, result.seriesRead, series.points);
        if (!error.isEmpty()) {
            result.data = DataSet();
            result.error = error;
            return result;
        }
        // Series with fewer than two points are dropped at once rather than after reading,
        // which keeps files of countless empty entries small in memory.
        if (series.points.size() < 2)
            ++result.droppedSeries;
        else
            data.series.append(std::move(series));
        reader.readTo('{');
    }

    const QString error = SeriesNormalizer::normalize(data.series, nullptr, &result.duplicateMonths);
    if (!error.isEmpty()) {
        result.data = DataSet();
        result.error = error;
    }
    return result;
}

DataFileResult DataFileReader::readFile(const QString& fileName) {
    DataFileResult result;
    QByteArray bytes;
    if (!InputFile::readAll(fileName, maxFileSize, &bytes, &result.error))
        return result;
    return readBytes(bytes);
}
