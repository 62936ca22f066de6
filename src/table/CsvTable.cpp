#include "table/CsvTable.h"

#include "data/FileText.h"

#include <csv.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr char candidates[] = {',', ';', '\t'};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One row of the first ones, split at line breaks outside quotes, with its separators counted.
struct SampleRow {
    qsizetype begin = 0;
    qsizetype end = 0;
    qint64 line = 1;
    int counts[3] = {0, 0, 0};
    bool blank = true; // nothing but blanks and separators
};

// The first 200 rows (in at most 256 kB) after those to skip.
std::vector<SampleRow> sampleRows(const QByteArray& bytes, qsizetype start, int skipRows) {
    const int maxRows = 200 + std::max(skipRows, 0);
    const qsizetype maxBytes = skipRows > 0 ? bytes.size() : qsizetype(1) << 18;
    std::vector<SampleRow> rows;
    const char* data = bytes.constData();
    const qsizetype size = std::min(bytes.size(), start + maxBytes);
    SampleRow row;
    row.begin = start;
    bool quoted = false;
    qint64 line = 1;
    for (qsizetype i = start; i < size && int(rows.size()) < maxRows; ++i) {
        const char c = data[i];
        if (c == '"')
            quoted = !quoted;
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
                ++i;
            ++line;
            if (!quoted) {
                row.end = i + 1;
                rows.push_back(row);
                row = SampleRow();
                row.begin = i + 1;
                row.line = line;
            }
            continue;
        }
        if (quoted) {
            row.blank = false;
            continue;
        }
        bool separator = false;
        for (int k = 0; k < 3; ++k) {
            if (c == candidates[k]) {
                ++row.counts[k];
                separator = true;
            }
        }
        if (!separator && !isBlank(c))
            row.blank = false;
    }
    // A last row that the sample cut short says nothing of the file's columns.
    if (size == bytes.size() && row.begin < size && int(rows.size()) < maxRows) {
        row.end = size;
        rows.push_back(row);
    }
    return rows;
}

// Whether a row reads as names rather than as data: fewer than half of its cells start with a digit.
bool looksLikeHeader(const QByteArray& bytes, const SampleRow& row, char delimiter) {
    int cells = 0;
    int numeric = 0;
    bool atStart = true;
    for (qsizetype i = row.begin; i < row.end; ++i) {
        const char c = bytes[i];
        if (c == delimiter) {
            atStart = true;
        } else if (atStart && !isBlank(c) && c != '"') {
            ++cells;
            numeric += (c >= '0' && c <= '9') || c == '-' || c == '+';
            atStart = false;
        }
    }
    return 2 * numeric < cells;
}

struct Choice {
    int delimiter = -1;
    size_t header = 0;
    int columns = 0;  // separators a row
    int agree = 0;    // rows from the header on with as many
    int disagree = 0; // rows from the header on with another number

    // Rows that all agree beat rows that mostly do, more rows fewer, and more columns fewer.
    bool betterThan(const Choice& other) const {
        if (other.delimiter < 0)
            return delimiter >= 0;
        if ((disagree == 0) != (other.disagree == 0))
            return disagree == 0;
        if (agree != other.agree)
            return agree > other.agree;
        return columns > other.columns;
    }
};

// For one separator: the count of separators most rows agree on (at least one), the first row that has
// it, and how well the rows after it agree.
Choice choose(const std::vector<SampleRow>& rows, size_t first, int k) {
    std::vector<int> counts;
    for (size_t i = first; i < rows.size(); ++i)
        if (!rows[i].blank)
            counts.push_back(rows[i].counts[k]);
    std::sort(counts.begin(), counts.end());
    Choice choice;
    int frequency = 0;
    for (size_t i = 0; i < counts.size();) {
        size_t j = i;
        while (j < counts.size() && counts[j] == counts[i])
            ++j;
        if (counts[i] >= 1 && int(j - i) >= frequency) {
            frequency = int(j - i);
            choice.columns = counts[i];
        }
        i = j;
    }
    if (frequency == 0)
        return choice;
    choice.delimiter = k;
    choice.header = rows.size();
    for (size_t i = first; i < rows.size(); ++i) {
        if (rows[i].blank)
            continue;
        if (choice.header == rows.size() && rows[i].counts[k] == choice.columns)
            choice.header = i;
        if (choice.header < rows.size())
            ++(rows[i].counts[k] == choice.columns ? choice.agree : choice.disagree);
    }
    return choice;
}

QString rowText(const QByteArray& bytes, const SampleRow& row) {
    qsizetype end = row.end;
    while (end > row.begin && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r'))
        --end;
    const TextSpan span{bytes.constData() + row.begin, bytes.constData() + end};
    return FileText::shortened(FileText::decode(span));
}

} // namespace

CsvTable::Layout CsvTable::detect(const QByteArray& bytes, char preferred, int skipRows) {
    Layout layout;
    layout.delimiter = preferred;
    static constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
    const qsizetype start = bytes.startsWith(byteOrderMark) ? 3 : 0;
    layout.headerOffset = start;
    const std::vector<SampleRow> rows = sampleRows(bytes, start, skipRows);
    size_t first = 0;
    if (skipRows > 0)
        first = std::min(rows.size(), size_t(skipRows));
    else
        while (first < rows.size() && rows[first].blank)
            ++first;

    Choice best;
    for (int order = -1; order < 3; ++order) {
        // The preferred separator first, so that it wins every tie.
        const int k = order < 0 ? int(std::find(candidates, candidates + 3, preferred) - candidates) : order;
        if (k >= 3 || (order >= 0 && candidates[k] == preferred))
            continue;
        const Choice choice = choose(rows, first, k);
        if (choice.betterThan(best))
            best = choice;
    }
    size_t header = first;
    if (best.delimiter >= 0) {
        layout.delimiter = candidates[best.delimiter];
        if (skipRows < 0 && best.header > first) {
            bool notes = looksLikeHeader(bytes, rows[best.header], layout.delimiter);
            for (size_t i = first; i < best.header; ++i)
                notes = notes && rows[i].counts[best.delimiter] < best.columns;
            if (notes)
                header = best.header;
        }
    }
    if (skipRows > 0 && size_t(skipRows) > rows.size()) {
        layout.headerOffset = bytes.size();
        return layout;
    }
    if (header < rows.size()) {
        layout.headerOffset = rows[header].begin;
        layout.headerLine = rows[header].line;
    } else if (!rows.empty()) {
        layout.headerOffset = rows.back().end;
        layout.headerLine = rows.back().line + 1;
    }
    for (size_t i = 0; i < header && i < rows.size(); ++i)
        if (!rows[i].blank)
            layout.skippedRows << rowText(bytes, rows[i]);
    return layout;
}

namespace {

// With a tab as separator, only spaces are trimmed from unquoted cells.
int isSpace(unsigned char c) {
    return c == ' ';
}

// Takes the cells libcsv hands over row by row into the table; the header fixes the number of cells.
class Reader {
public:
    Reader(SourceTable& source, qint64 firstLine)
        : source(source)
        , line(firstLine) {}

    static void onCell(void* data, size_t size, void* reader) {
        static_cast<Reader*>(reader)->addCell(static_cast<const char*>(data), size);
    }
    static void onRowEnd(int c, void* reader) { static_cast<Reader*>(reader)->endRow(c); }

    bool failed() const { return !source.error.isEmpty(); }
    void fail(qint64 lineNumber, int column, const QString& what) {
        if (failed())
            return;
        const QString name =
            column >= 1 && column <= headerNames.size() ? headerNames[column - 1] : QString();
        source.error = SourceTable::linePlace(lineNumber, column, name) + QStringLiteral(": ") + what;
    }
    // The parser stopped at offset of bytes: a quote where none may be, or no memory.
    void failParsing(int code, const char* bytes, size_t offset, qint64 firstLine) {
        const QString what =
            code == CSV_EPARSE
                ? QStringLiteral("a quote inside a cell that is not quoted whole, or text after "
                                 "a cell's closing quote (quote the cell and double its quotes).")
                : QStringLiteral("the cell needs more memory than there is.");
        fail(firstLine + TextTable::lineBreaks(bytes, bytes + offset), source.table.openCells() + 1, what);
    }
    void failUnclosedQuote() {
        fail(line, source.table.openCells() + 1, QStringLiteral("a quoted cell is never closed."));
    }

private:
    void addCell(const char* data, size_t size) {
        if (failed())
            return;
        if (source.table.openCells() == 0)
            rowLine = line;
        afterCarriageReturn = false;
        if (++cellCount > CsvTable::maxCells || !source.table.appendCell(data, size)) {
            fail(line, source.table.openCells() + 1,
                 QStringLiteral("the file holds more cells than can be read (at most %1).")
                     .arg(CsvTable::maxCells));
            return;
        }
        lastCellLine = line;
        if (size > 0) {
            blank = blank && CellText::trimmed({data, data + size}).size() == 0;
            // Only quoted cells hold line breaks, and few cells are quoted.
            if (std::memchr(data, '\n', size) || std::memchr(data, '\r', size))
                line += TextTable::lineBreaks(data, data + size);
        }
    }

    void endRow(int c) {
        if (failed())
            return;
        const qint64 startLine = rowLine;
        if (c == '\r' || (c == '\n' && !afterCarriageReturn))
            ++line;
        afterCarriageReturn = c == '\r';
        const int cells = source.table.openCells();
        if (blank || cells == 0) {
            source.table.dropOpenRow();
        } else if (source.table.rowCount() == 0) {
            for (int i = 0; i < cells; ++i)
                headerNames << FileText::decode(CellText::trimmed(openCell(i)));
            source.table.endRow(startLine);
        } else if (cells != headerNames.size()) {
            const int columns = int(headerNames.size());
            if (cells > columns)
                fail(startLine + TextTable::lineBreaks(openCell(0).begin, openCell(columns).begin),
                     columns + 1,
                     QStringLiteral("the row has more cells than the header's %1 columns.").arg(columns));
            else
                fail(lastCellLine, cells + 1,
                     QStringLiteral("the row ends here, but the header has %1 columns.").arg(columns));
        } else {
            source.table.endRow(startLine);
        }
        blank = true;
    }

    TextSpan openCell(int i) const { return source.table.openCell(i); }

    SourceTable& source;
    QStringList headerNames;
    qint64 line;
    qint64 rowLine = 1;
    qint64 lastCellLine = 1;
    qint64 cellCount = 0;
    bool afterCarriageReturn = false;
    bool blank = true;
};

} // namespace

SourceTable CsvTable::read(const QByteArray& bytes, char preferred, int skipRows) {
    const Layout layout = detect(bytes, preferred, skipRows);
    SourceTable source;
    source.delimiter = layout.delimiter;
    source.mark = layout.delimiter == ';' ? CellText::DecimalMark::Comma : CellText::DecimalMark::Point;
    source.skippedRows = layout.skippedRows;
    source.skipFound = skipRows < 0 && !layout.skippedRows.isEmpty();

    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0) {
        source.error = QStringLiteral("Cannot read CSV: not enough memory.");
        return source;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(layout.delimiter));
    if (layout.delimiter == '\t')
        csv_set_space_func(&parser, isSpace);

    Reader reader(source, layout.headerLine);
    const char* data = bytes.constData();
    size_t offset = size_t(layout.headerOffset);
    const size_t size = size_t(bytes.size());
    source.table.reserve(size - offset, (size - offset) / 8);
    // In pieces, so that a failure early in a large file ends the reading there.
    constexpr size_t pieceSize = size_t(1) << 20;
    while (offset < size && !reader.failed()) {
        const size_t length = std::min(pieceSize, size - offset);
        const size_t parsed =
            csv_parse(&parser, data + offset, length, Reader::onCell, Reader::onRowEnd, &reader);
        if (parsed < length) {
            reader.failParsing(csv_error(&parser), data + layout.headerOffset,
                               offset + parsed - size_t(layout.headerOffset), layout.headerLine);
            break;
        }
        offset += length;
    }
    if (!reader.failed() && csv_fini(&parser, Reader::onCell, Reader::onRowEnd, &reader) != 0)
        reader.failUnclosedQuote();
    csv_free(&parser);
    if (!reader.failed() && source.table.rowCount() == 0)
        source.error = QStringLiteral("The file is empty: it needs a header row and rows of data.");
    if (!source.ok())
        source.table = TextTable();
    return source;
}
