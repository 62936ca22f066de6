#include "data/DataFileReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <locale.h>

namespace {

constexpr char quote = '"';

struct Span {
    const char* begin = nullptr;
    const char* end = nullptr;
    qsizetype size() const { return end - begin; }
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
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

bool isValidUtf8(Span text) {
    auto p = reinterpret_cast<const unsigned char*>(text.begin);
    const auto end = reinterpret_cast<const unsigned char*>(text.end);
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        char32_t code;
        char32_t smallest;
        if ((c & 0xE0) == 0xC0) {
            length = 2;
            code = c & 0x1F;
            smallest = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            code = c & 0x0F;
            smallest = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            code = c & 0x07;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

// Files are usually UTF-8 today; anything that is not valid UTF-8 is taken byte by byte. A text may
// begin with the bytes of U+FEFF, which QString::fromUtf8 would drop: it is kept, as any character is.
QString decodeText(Span text) {
    if (!isValidUtf8(text))
        return QString::fromLatin1(text.begin, text.size());
    static constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
    if (text.size() >= 3 && std::memcmp(text.begin, byteOrderMark, 3) == 0)
        return QChar(0xFEFF) + QString::fromUtf8(text.begin + 3, text.size() - 3);
    return QString::fromUtf8(text.begin, text.size());
}

// Long names and junk point texts are cut short so error messages stay readable.
QString shortened(const QString& text) {
    constexpr qsizetype limit = 60;
    if (text.size() <= limit)
        return text;
    return text.left(limit) + QChar(0x2026);
}

QString monthText(qint32 year, qint32 month) {
    return QStringLiteral("%1.%2").arg(year).arg(month, 2, 10, QLatin1Char('0'));
}

qint64 monthIndex(const DataPoint& point) {
    return qint64(point.year) * 12 + (point.month - 1);
}

// Optional sign and decimal digits; stops at the first byte that does not fit and returns
// where. Saturates instead of overflowing.
const char* parseInteger(const char* p, const char* end, qint32& result) {
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const qint64 limit =
        negative ? -qint64(std::numeric_limits<qint32>::min()) : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    for (; p < end && isDigit(*p); ++p)
        magnitude = std::min(limit, magnitude * 10 + (*p - '0'));
    result = qint32(negative ? -magnitude : magnitude);
    return p;
}

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

// Optional sign, digits with an optional fraction, optional exponent. Only that prefix is
// converted, so "inf", "nan" and "0x1p3" give 0 like any other text without a number in front.
double parseValue(const char* p, const char* end) {
    static const double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* start = p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    quint64 mantissa = 0; // wraps for long digit runs, but is then not used
    const char* digits = p;
    for (; p < end && isDigit(*p); ++p)
        mantissa = mantissa * 10 + quint64(*p - '0');
    qsizetype count = p - digits;
    qsizetype fractionDigits = 0;
    if (p < end && *p == '.') {
        const char* fraction = ++p;
        for (; p < end && isDigit(*p); ++p)
            mantissa = mantissa * 10 + quint64(*p - '0');
        fractionDigits = p - fraction;
        count += fractionDigits;
    }
    if (count == 0)
        return 0.0;
    bool exponent = false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        const char* exponentDigits = q;
        while (q < end && isDigit(*q))
            ++q;
        if (q > exponentDigits) {
            p = q;
            exponent = true;
        }
    }
    // Up to 15 digits the mantissa and the power of ten are exact doubles, so one division
    // gives the correctly rounded value, the same that from_chars gives, only faster.
    if (!exponent && count <= 15) {
        const double value = double(mantissa) / powersOfTen[fractionDigits];
        return negative ? -value : value;
    }
    if (*start == '+')
        ++start;
    double value = 0.0;
    const auto result = std::from_chars(start, p, value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; strtod tells them apart.
        const std::string text(start, p);
        value = strtod_l(text.c_str(), nullptr, cLocale());
    }
    return value;
}

constexpr unsigned char hasYear = 1;
constexpr unsigned char hasMonth = 2;

// A point text: year, comma, month, comma, value; blanks already removed. Returns which of
// year and month the text named.
unsigned char parsePoint(const char* p, const char* end, DataPoint& point) {
    unsigned char fields = 0;
    // The integer stops at the first comma at the latest, so the search goes on from there.
    qint32 year = 0;
    const char* stop = parseInteger(p, end, year);
    const char* comma = stop < end && *stop == ',' ? stop : find(stop, end, ',');
    if (comma) {
        point.year = year;
        fields |= hasYear;
        p = comma + 1;
        qint32 month = 0;
        stop = parseInteger(p, end, month);
        comma = stop < end && *stop == ',' ? stop : find(stop, end, ',');
        if (comma) {
            point.month = std::clamp(month, 1, 12);
            fields |= hasMonth;
            p = comma + 1;
        }
    }
    const double value = parseValue(p, end);
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
            if (!(point.value <= DataFileReader::maxValue)) {
                // One multi-argument arg() call, so a "%1" inside a name is not replaced again.
                return QStringLiteral("Series %1 \"%2\", point %3 (%4): the value is too large "
                                      "(more than 1e300, or beyond what a number can hold).")
                    .arg(QString::number(seriesNumber), shortened(name), QString::number(count + 1),
                         shortened(decodeText(pointText)));
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

QString seriesLabel(const DataSeries& series) {
    return QStringLiteral("\"%1\"").arg(shortened(series.name));
}

// Checks the sorted series and the whole set before anything is filled, so a refused file
// costs no memory for its gaps. Also notes which series already have one point per month.
QString checkSpans(const QVector<DataSeries>& series, std::vector<bool>& regular) {
    qint64 totalPoints = 0;
    regular.assign(size_t(series.size()), true);
    for (qsizetype k = 0; k < series.size(); ++k) {
        const DataSeries& s = series[k];
        for (qsizetype i = 0; i + 1 < s.points.size(); ++i) {
            const qint64 distance = monthIndex(s.points[i + 1]) - monthIndex(s.points[i]);
            if (distance != 1)
                regular[size_t(k)] = false;
            if (distance - 1 > DataFileReader::maxFilledGap) {
                return QStringLiteral("Series %1: between the points %2 and %3 lie %4 missing months; "
                                      "gaps of more than %5 months are not filled.")
                    .arg(seriesLabel(s), monthText(s.points[i].year, s.points[i].month),
                         monthText(s.points[i + 1].year, s.points[i + 1].month),
                         QString::number(distance - 1), QString::number(DataFileReader::maxFilledGap));
            }
        }
        totalPoints += monthIndex(s.points.last()) - monthIndex(s.points.first()) + 1;
    }
    if (series.isEmpty())
        return QString();

    // Series are sorted by their first month, so the first one starts earliest.
    const DataSeries& earliest = series.first();
    const DataSeries* latest = &series.first();
    for (const DataSeries& s : series) {
        if (monthIndex(s.points.last()) > monthIndex(latest->points.last()))
            latest = &s;
    }
    const DataPoint& first = earliest.points.first();
    const DataPoint& last = latest->points.last();
    const qint64 span = monthIndex(last) - monthIndex(first);
    if (span > DataFileReader::maxMonthSpan) {
        return QStringLiteral("The data spans %1 months, from %2 (series %3) to %4 (series %5); "
                              "at most %6 months are allowed.")
            .arg(QString::number(span), monthText(first.year, first.month), seriesLabel(earliest),
                 monthText(last.year, last.month), seriesLabel(*latest),
                 QString::number(DataFileReader::maxMonthSpan));
    }
    if (totalPoints > DataFileReader::maxTotalPoints) {
        return QStringLiteral("Filling every series to one point per month would give %1 points; "
                              "at most %2 are allowed.")
            .arg(totalPoints)
            .arg(DataFileReader::maxTotalPoints);
    }
    return QString();
}

// One point per month: a later point in the same month is dropped, a gap is filled by linear
// interpolation between its two ends.
void normalise(QVector<DataPoint>& points) {
    QVector<DataPoint> result;
    result.reserve(qsizetype(monthIndex(points.last()) - monthIndex(points.first()) + 1));
    result.append(points.first());
    for (qsizetype k = 1; k < points.size(); ++k) {
        const DataPoint from = result.last();
        const DataPoint& to = points[k];
        const qint64 start = monthIndex(from);
        const qint64 distance = monthIndex(to) - start;
        if (distance == 0)
            continue;
        const double a = from.value;
        const double b = to.value;
        for (qint64 j = 1; j < distance; ++j) {
            const qint64 index = start + j;
            DataPoint inserted;
            inserted.year = qint32(index >= 0 ? index / 12 : -((-index + 11) / 12));
            inserted.month = qint32(index - qint64(inserted.year) * 12) + 1;
            inserted.value = a + (double(j) / double(distance)) * (b - a);
            result.append(inserted);
        }
        result.append(to);
    }
    points = std::move(result);
}

bool pointBefore(const DataPoint& a, const DataPoint& b) {
    return a.year < b.year || (a.year == b.year && a.month < b.month);
}

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
            suffixes.append(decodeText({open + 1, close ? close : piece.end}));
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
    data.unitText = decodeText(reader.piece());
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
        series.name = decodeText(reader.piece());
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

    for (DataSeries& s : data.series) {
        if (!std::is_sorted(s.points.begin(), s.points.end(), pointBefore))
            std::stable_sort(s.points.begin(), s.points.end(), pointBefore);
    }
    std::stable_sort(data.series.begin(), data.series.end(), [](const DataSeries& a, const DataSeries& b) {
        return pointBefore(a.points.first(), b.points.first());
    });

    std::vector<bool> regular;
    const QString error = checkSpans(data.series, regular);
    if (!error.isEmpty()) {
        result.data = DataSet();
        result.error = error;
        return result;
    }
    for (qsizetype k = 0; k < data.series.size(); ++k) {
        if (!regular[size_t(k)])
            normalise(data.series[k].points);
    }
    return result;
}

DataFileResult DataFileReader::readFile(const QString& fileName) {
    DataFileResult result;
    const QString shown = QDir::toNativeSeparators(fileName);
    if (fileName.isEmpty()) {
        result.error = QStringLiteral("No file name was given.");
        return result;
    }
    const QFileInfo info(fileName);
    if (info.isDir()) {
        result.error = QStringLiteral("Cannot read \"%1\": it is a directory.").arg(shown);
        return result;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Cannot open \"%1\": %2.").arg(shown, file.errorString());
        return result;
    }
    if (file.size() > maxFileSize) {
        result.error = QStringLiteral("Cannot read \"%1\": the file is larger than %2 bytes.")
                           .arg(shown, QString::number(maxFileSize));
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = QStringLiteral("Cannot read \"%1\": %2.").arg(shown, file.errorString());
        return result;
    }
    return readBytes(bytes);
}
