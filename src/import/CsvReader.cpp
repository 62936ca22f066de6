#include "import/CsvReader.h"

#include "data/FileText.h"
#include "data/InputFile.h"
#include "data/NumberParser.h"
#include "data/SeriesNormalizer.h"

#include <QHash>
#include <QStringList>

#include <csv.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One or two digits; false when there are none or more.
bool parseSmallNumber(const char*& p, const char* end, int& number) {
    const char* start = p;
    number = 0;
    while (p < end && isDigit(*p) && p - start < 3)
        number = number * 10 + (*p++ - '0');
    return p > start && p - start <= 2;
}

// YYYY-MM, YYYY-MM-DD, YYYY/MM or YYYY.M, the whole text.
bool parseDate(TextSpan text, qint32& year, qint32& month) {
    const char* p = text.begin;
    const char* const end = text.end;
    p = NumberParser::parseInteger(p, end, year);
    if (p == text.begin || p == end || (*p != '-' && *p != '/' && *p != '.'))
        return false;
    const char separator = *p++;
    int number = 0;
    if (!parseSmallNumber(p, end, number) || number < 1 || number > 12)
        return false;
    month = number;
    if (separator == '-' && p < end && *p == '-') {
        ++p;
        if (!parseSmallNumber(p, end, number) || number < 1 || number > 31)
            return false;
    }
    return p == end;
}

// An integer, the whole text.
bool parseWholeInteger(TextSpan text, qint32& result) {
    const char* stop = NumberParser::parseInteger(text.begin, text.end, result);
    return stop > text.begin && stop == text.end;
}

TextSpan trimmed(TextSpan text) {
    while (text.begin < text.end && isBlank(*text.begin))
        ++text.begin;
    while (text.end > text.begin && isBlank(text.end[-1]))
        --text.end;
    return text;
}

QString quoted(TextSpan text) {
    return QLatin1Char('"') + FileText::shortened(FileText::decode(text)) + QLatin1Char('"');
}

// Line breaks in a text: CR LF, LF and CR each count once.
qint64 lineBreaks(const char* p, const char* end) {
    qint64 count = 0;
    for (; p < end; ++p) {
        if (*p == '\n')
            ++count;
        else if (*p == '\r' && (p + 1 == end || p[1] != '\n'))
            ++count;
    }
    return count;
}

// Takes the cells libcsv hands over row by row and turns rows into series.
class Table {
public:
    explicit Table(DataFileResult& result)
        : result(result) {}

    static void onCell(void* data, size_t size, void* table) {
        static_cast<Table*>(table)->addCell(static_cast<const char*>(data), size);
    }
    static void onRowEnd(int c, void* table) { static_cast<Table*>(table)->endRow(c); }

    bool failed() const { return !result.error.isEmpty(); }
    void fail(qint64 line, int column, const QString& what) {
        if (!failed())
            result.error = place(line, column) + QStringLiteral(": ") + what;
    }
    // The parser stopped at offset of bytes: a quote where none may be, or no memory.
    void failParsing(int code, const char* bytes, size_t offset) {
        const QString what =
            code == CSV_EPARSE
                ? QStringLiteral("a quote inside a cell that is not quoted whole, or text after "
                                 "a cell's closing quote (quote the cell and double its quotes).")
                : QStringLiteral("the cell needs more memory than there is.");
        fail(1 + lineBreaks(bytes, bytes + offset), int(cells.size()) + 1, what);
    }
    void failUnclosedQuote() {
        fail(line, int(cells.size()) + 1, QStringLiteral("a quoted cell is never closed."));
    }
    void finish();

private:
    enum class Shape { None, Long, Wide };
    struct Cell {
        size_t begin;
        size_t end;
        qint64 line;
    };

    void addCell(const char* data, size_t size);
    void endRow(int c);
    void readHeader();
    void readWideRow();
    void readLongRow();
    // The date of a row from its date cell or its year and month cells; false after a failure.
    bool readDate(const Cell& cell, int column, qint32& year, qint32& month);
    // Adds the cell's value, if it has one, to the series; false after a failure.
    bool addValue(const Cell& cell, int column, DataSeries& series, qint32 year, qint32 month);

    TextSpan text(const Cell& cell) const { return {row.data() + cell.begin, row.data() + cell.end}; }
    QString place(qint64 line, int column) const;

    DataFileResult& result;
    // The row being read: its cells' bytes one after the other.
    std::string row;
    std::vector<Cell> cells;
    qint64 line = 1; // where the parser is
    bool afterCarriageReturn = false;

    Shape shape = Shape::None;
    QStringList headerNames;
    int seriesColumn = -1;
    int dateColumn = -1;
    int yearColumn = -1;
    int monthColumn = -1;
    int valueColumn = -1;
    // The long shape's series by name; the last one is looked up once for all its rows.
    QHash<QString, int> seriesByName;
    std::string lastName;
    int lastSeries = -1;
    qint64 values = 0;
};

QString Table::place(qint64 lineNumber, int column) const {
    QString text = QStringLiteral("Line %1, column %2").arg(lineNumber).arg(column);
    if (column >= 1 && column <= headerNames.size() && !headerNames[column - 1].isEmpty())
        text += QStringLiteral(" (\"%1\")").arg(FileText::shortened(headerNames[column - 1]));
    return text;
}

void Table::addCell(const char* data, size_t size) {
    if (failed())
        return;
    afterCarriageReturn = false;
    cells.push_back({row.size(), row.size() + size, line});
    // An empty cell may come without any storage behind it.
    if (size == 0)
        return;
    row.append(data, size);
    // Only quoted cells hold line breaks, and few cells are quoted.
    if (std::memchr(data, '\n', size) || std::memchr(data, '\r', size))
        line += lineBreaks(data, data + size);
}

void Table::endRow(int c) {
    if (failed())
        return;
    if (c == '\r' || (c == '\n' && !afterCarriageReturn))
        ++line;
    afterCarriageReturn = c == '\r';
    const bool blank = std::all_of(cells.begin(), cells.end(),
                                   [this](const Cell& cell) { return trimmed(text(cell)).size() == 0; });
    if (!blank) {
        if (shape == Shape::None) {
            readHeader();
        } else {
            ++result.rowsRead;
            if (int(cells.size()) != headerNames.size()) {
                const int columns = int(headerNames.size());
                if (int(cells.size()) > columns)
                    fail(cells[size_t(columns)].line, columns + 1,
                         QStringLiteral("the row has more cells than the header's %1 columns.").arg(columns));
                else
                    fail(cells.back().line, int(cells.size()) + 1,
                         QStringLiteral("the row ends here, but the header has %1 columns.").arg(columns));
            } else if (shape == Shape::Wide) {
                readWideRow();
            } else {
                readLongRow();
            }
        }
    }
    row.clear();
    cells.clear();
}

void Table::readHeader() {
    QHash<QString, int> columns;
    for (size_t i = 0; i < cells.size(); ++i) {
        headerNames << FileText::decode(text(cells[i]));
        columns.insert(FileText::decode(trimmed(text(cells[i]))).toLower(), int(i));
    }
    const auto column = [&columns](const char* name) { return columns.value(QLatin1String(name), -1); };
    seriesColumn = column("series");
    valueColumn = column("value");
    yearColumn = column("year");
    monthColumn = column("month");
    dateColumn = column("date");
    const bool byYearAndMonth = cells.size() == 4 && yearColumn >= 0 && monthColumn >= 0;
    const bool byDate = cells.size() == 3 && dateColumn >= 0;
    if (seriesColumn >= 0 && valueColumn >= 0 && (byYearAndMonth || byDate)) {
        shape = Shape::Long;
        return;
    }
    if (cells.size() < 2) {
        fail(cells.front().line, 2,
             QStringLiteral("the header needs a date column and a column for each series, or the columns "
                            "series,year,month,value or series,date,value."));
        return;
    }
    shape = Shape::Wide;
    result.data.series.resize(qsizetype(cells.size()) - 1);
    for (qsizetype i = 1; i < headerNames.size(); ++i)
        result.data.series[i - 1].name = headerNames[i];
}

bool Table::readDate(const Cell& cell, int column, qint32& year, qint32& month) {
    if (parseDate(trimmed(text(cell)), year, month))
        return true;
    fail(
        cell.line, column,
        QStringLiteral("%1 is not a date (YYYY-MM, YYYY-MM-DD, YYYY/MM or YYYY.M).").arg(quoted(text(cell))));
    return false;
}

bool Table::addValue(const Cell& cell, int column, DataSeries& series, qint32 year, qint32 month) {
    const TextSpan value = trimmed(text(cell));
    if (value.size() == 0)
        return true;
    double number = 0.0;
    if (NumberParser::parseDouble(value.begin, value.end, number) != value.end) {
        fail(cell.line, column, QStringLiteral("%1 is not a number.").arg(quoted(text(cell))));
        return false;
    }
    if (!(number <= SeriesNormalizer::maxValue)) {
        fail(cell.line, column,
             QStringLiteral("%1 is too large (more than 1e300, or beyond what a number can hold).")
                 .arg(quoted(text(cell))));
        return false;
    }
    if (++values > CsvReader::maxValues) {
        fail(cell.line, column,
             QStringLiteral("the file holds more than %1 values.").arg(CsvReader::maxValues));
        return false;
    }
    // As in data files, values below zero count as zero (and -0 would be shown as "-0").
    series.points.append(DataPoint{year, month, number > 0.0 ? number : 0.0});
    return true;
}

void Table::readWideRow() {
    qint32 year = 0;
    qint32 month = 1;
    if (!readDate(cells[0], 1, year, month))
        return;
    DataSeries* series = result.data.series.data();
    for (size_t i = 1; i < cells.size(); ++i) {
        if (!addValue(cells[i], int(i) + 1, series[i - 1], year, month))
            return;
    }
}

void Table::readLongRow() {
    qint32 year = 0;
    qint32 month = 1;
    if (dateColumn >= 0) {
        if (!readDate(cells[size_t(dateColumn)], dateColumn + 1, year, month))
            return;
    } else {
        const Cell& yearCell = cells[size_t(yearColumn)];
        const Cell& monthCell = cells[size_t(monthColumn)];
        if (!parseWholeInteger(trimmed(text(yearCell)), year)) {
            fail(yearCell.line, yearColumn + 1,
                 QStringLiteral("%1 is not a year.").arg(quoted(text(yearCell))));
            return;
        }
        if (!parseWholeInteger(trimmed(text(monthCell)), month) || month < 1 || month > 12) {
            fail(monthCell.line, monthColumn + 1,
                 QStringLiteral("%1 is not a month (1 to 12).").arg(quoted(text(monthCell))));
            return;
        }
    }
    const Cell& nameCell = cells[size_t(seriesColumn)];
    const TextSpan name = text(nameCell);
    if (lastSeries < 0 || lastName.size() != size_t(name.size()) ||
        std::memcmp(lastName.data(), name.begin, size_t(name.size())) != 0) {
        lastName.assign(name.begin, size_t(name.size()));
        const QString decoded = FileText::decode(name);
        lastSeries = seriesByName.value(decoded, -1);
        if (lastSeries < 0) {
            lastSeries = int(result.data.series.size());
            seriesByName.insert(decoded, lastSeries);
            result.data.series.append(DataSeries{decoded, {}});
        }
    }
    addValue(cells[size_t(valueColumn)], valueColumn + 1, result.data.series[lastSeries], year, month);
}

void Table::finish() {
    if (shape == Shape::None) {
        result.error = QStringLiteral("The file is empty: it needs a header row and rows of data.");
        return;
    }
    result.seriesRead = int(result.data.series.size());
    const QString error =
        SeriesNormalizer::normalize(result.data.series, &result.droppedSeries, &result.duplicateMonths);
    if (!error.isEmpty())
        result.error = error;
}

// With a tab as delimiter, only spaces are trimmed from unquoted cells.
int isSpace(unsigned char c) {
    return c == ' ';
}

// Frees the parser's buffer however reading ends.
struct Parser {
    csv_parser parser;
    bool ready = false;
    Parser() { ready = csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) == 0; }
    ~Parser() {
        if (ready)
            csv_free(&parser);
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
};

} // namespace

const QVector<QString>& CsvReader::magnitudeSuffixes() {
    static const QVector<QString> suffixes = {QString(), QStringLiteral("k"), QStringLiteral("M"),
                                              QStringLiteral("G"), QStringLiteral("T")};
    return suffixes;
}

DataFileResult CsvReader::readBytes(const QByteArray& bytes, char delimiter) {
    DataFileResult result;
    result.rowsRead = 0;
    Table table(result);
    Parser parser;
    if (!parser.ready) {
        result.error = QStringLiteral("Cannot read CSV: not enough memory.");
        return result;
    }
    csv_set_delim(&parser.parser, static_cast<unsigned char>(delimiter));
    if (delimiter == '\t')
        csv_set_space_func(&parser.parser, isSpace);

    const char* data = bytes.constData();
    size_t offset = 0;
    static constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
    if (bytes.startsWith(byteOrderMark))
        offset = 3;
    // In pieces, so that a failure early in a large file ends the reading there.
    constexpr size_t pieceSize = size_t(1) << 20;
    const size_t size = size_t(bytes.size());
    while (offset < size && !table.failed()) {
        const size_t length = std::min(pieceSize, size - offset);
        const size_t parsed =
            csv_parse(&parser.parser, data + offset, length, Table::onCell, Table::onRowEnd, &table);
        if (parsed < length) {
            table.failParsing(csv_error(&parser.parser), data, offset + parsed);
            break;
        }
        offset += length;
    }
    if (!table.failed() && csv_fini(&parser.parser, Table::onCell, Table::onRowEnd, &table) != 0)
        table.failUnclosedQuote();
    if (!table.failed())
        table.finish();
    if (table.failed()) {
        result.data = DataSet();
        return result;
    }
    result.data.magnitudeSuffixes = magnitudeSuffixes();
    return result;
}

DataFileResult CsvReader::readFile(const QString& fileName, char delimiter) {
    DataFileResult result;
    QByteArray bytes;
    if (!InputFile::readAll(fileName, DataFileReader::maxFileSize, &bytes, &result.error))
        return result;
    return readBytes(bytes, delimiter);
}
