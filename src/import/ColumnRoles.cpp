#include "import/ColumnRoles.h"

#include "table/SourceTable.h"

#include <QRegularExpression>
#include <QSet>

namespace {

using Kind = ColumnKind::Kind;

// Words in column names that say a role.
const char* const dateWords[] = {"date", "time", "datetime", "timestamp", "period", "month",
                                 "day",  "year", "week",     "when",      "yyyymm"};
const char* const seriesWords[] = {
    "series",  "name",    "symbol",   "category", "source",  "location", "country",  "region", "entity",
    "label",   "key",     "variable", "item",     "product", "state",    "city",     "sector", "industry",
    "company", "station", "group",    "type",     "kind",    "class",    "language", "genre",  "brand",
    "team",    "topic",   "tag",      "ticker",   "stock",   "format",   "geo",      "area",   "province"};
const char* const valueWords[] = {"value",  "values",     "count",    "counts", "amount",
                                  "total",  "number",     "quantity", "volume", "price",
                                  "sales",  "revenue",    "deaths",   "cases",  "downloads",
                                  "visits", "population", "pop",      "n"};

// Whether one of the words stands in the name as a word of its own ("Country Name", "unit_price").
template <size_t N> bool says(const QString& name, const char* const (&words)[N]) {
    static const QRegularExpression splitter(QStringLiteral("[^a-z]+"));
    const QStringList parts = name.toLower().split(splitter, Qt::SkipEmptyParts);
    for (const QString& part : parts)
        for (const char* word : words)
            if (part == QLatin1String(word))
                return true;
    return false;
}

QString quotedName(const SourceTable& source, int column) {
    const QString name = source.columnName(column);
    return name.isEmpty() ? QStringLiteral("column %1").arg(column + 1)
                          : QLatin1Char('"') + name + QLatin1Char('"');
}

// The candidate whose name says the role, else the first; a guess is noted when there were several.
template <size_t N>
int pick(const SourceTable& source, const QVector<int>& candidates, const char* const (&words)[N],
         const QString& role, const QString& option, QStringList& guesses) {
    if (candidates.isEmpty())
        return -1;
    int chosen = candidates.first();
    for (int column : candidates) {
        if (says(source.columnName(column), words)) {
            chosen = column;
            break;
        }
    }
    if (candidates.size() > 1) {
        QStringList others;
        for (int column : candidates)
            if (column != chosen && others.size() < 5)
                others << quotedName(source, column);
        if (candidates.size() - 1 > others.size())
            others << QStringLiteral("%1 more").arg(candidates.size() - 1 - others.size());
        guesses << QStringLiteral("%1 from %2, not %3 (to change: %4)")
                       .arg(role, quotedName(source, chosen), others.join(QStringLiteral(", ")), option);
    }
    return chosen;
}

// Whether a date is written twice in the first rows, as in long tables with one row a series and date.
bool datesRepeat(const SourceTable& source, int date, int month) {
    const int rows = std::min(source.table.rowCount(), 2001);
    QSet<QByteArray> seen;
    for (int row = 1; row < rows; ++row) {
        const TextSpan cell = CellText::trimmed(source.table.cell(row, date));
        QByteArray key(cell.begin, cell.size());
        if (month >= 0) {
            const TextSpan monthCell = CellText::trimmed(source.table.cell(row, month));
            key += '\x1f' + QByteArray(monthCell.begin, monthCell.size());
        }
        if (seen.contains(key))
            return true;
        seen.insert(key);
    }
    return false;
}

QString noSuchColumn(const SourceTable& source, const QString& option, const QString& value) {
    QStringList names;
    for (int column = 0; column < source.table.columnCount(); ++column)
        names << quotedName(source, column);
    return QStringLiteral("%1: the file has no column \"%2\"; its columns are %3.")
        .arg(option, value, names.join(QStringLiteral(", ")));
}

// Names the first value that is no date in the column that should have held them: the first whose name
// says dates, else the first.
QString noDates(const SourceTable& source) {
    int column = 0;
    for (int c = 0; c < source.table.columnCount(); ++c) {
        if (says(source.columnName(c), dateWords)) {
            column = c;
            break;
        }
    }
    const QString forms = QStringLiteral(
        "a column of dates is needed, written as 2020-12-31, 2020-12-31T10:00Z, 2020-12, 202012, 1880, "
        "Dec 2020, 31 Dec 2020, 2020-Q4, 31.12.2020 or 12/31/2020 (--date-column says which column).");
    const int rows = std::min(source.table.rowCount(), ColumnKinds::sampleValues + 1);
    for (int row = 1; row < rows && column < source.table.columnCount(); ++row) {
        const TextSpan cell = CellText::trimmed(source.table.cell(row, column));
        if (!CellText::isMissing(cell) && !DateText::parse(cell).ok())
            return source.place(row, column) +
                   QStringLiteral(": \"%1\" is not a date; ")
                       .arg(FileText::shortened(FileText::decode(cell))) +
                   forms;
    }
    return QStringLiteral("No column of dates: ") + forms;
}

} // namespace

int ColumnRoles::findColumn(const SourceTable& source, const QString& option) {
    bool isNumber = false;
    const int number = option.toInt(&isNumber);
    if (isNumber)
        return number >= 1 && number <= source.table.columnCount() ? number - 1 : -1;
    for (int column = 0; column < source.table.columnCount(); ++column)
        if (source.columnName(column).compare(option.trimmed(), Qt::CaseInsensitive) == 0)
            return column;
    return -1;
}

ColumnRoles ColumnRoles::detect(const SourceTable& source, const ImportOptions& options) {
    ColumnRoles roles;
    roles.kinds = ColumnKinds::of(source);
    const int columns = int(roles.kinds.size());
    const auto given = [&](const QString& value, const QString& option, int& target) {
        if (value.isEmpty())
            return true;
        target = findColumn(source, value);
        if (target < 0)
            roles.error = noSuchColumn(source, option, value);
        return target >= 0;
    };
    int date = -1;
    int series = -1;
    int value = -1;
    const bool noSeries = options.seriesColumn == QLatin1String(ImportOptions::noColumn);
    if (!given(options.dateColumn, QStringLiteral("--date-column"), date) ||
        (!noSeries && !given(options.seriesColumn, QStringLiteral("--series-column"), series)) ||
        !given(options.valueColumn, QStringLiteral("--value-column"), value))
        return roles;

    // Dates: a column of dates; else year and month columns; else year-like numbers named as dates,
    // or in the first column.
    if (date < 0) {
        QVector<int> dates;
        for (int column = 0; column < columns; ++column)
            if (roles.kinds[column].kind == Kind::Date && column != series && column != value)
                dates << column;
        const int year = findColumn(source, QStringLiteral("year"));
        const int month = findColumn(source, QStringLiteral("month"));
        // Columns named year and month are read as such; a value that is neither is then refused.
        if (dates.isEmpty() && year >= 0 && month >= 0 && year != month && year != series && year != value &&
            month != series && month != value) {
            date = year;
            roles.monthColumn = month;
        } else if (!dates.isEmpty()) {
            date = pick(source, dates, dateWords, QStringLiteral("Dates"), QStringLiteral("--date-column"),
                        roles.guesses);
        } else {
            QVector<int> years;
            for (int column = 0; column < columns; ++column)
                if (roles.kinds[column].kind == Kind::YearLike && column != series && column != value &&
                    (column == 0 || says(source.columnName(column), dateWords)))
                    years << column;
            date = pick(source, years, dateWords, QStringLiteral("Dates"), QStringLiteral("--date-column"),
                        roles.guesses);
        }
    }
    if (date < 0) {
        roles.error = noDates(source);
        return roles;
    }
    roles.dateColumn = date;

    // Series: a column of text names (one with several names before a constant one), when the table is
    // long: a column's name says so, or dates repeat, one row a series. Else text columns beside a wide
    // table's numbers are left out, and the user hears how to take series from one.
    if (series < 0 && !noSeries) {
        QVector<int> texts;
        for (int pass = 0; pass < 2 && texts.isEmpty(); ++pass)
            for (int column = 0; column < columns; ++column)
                if (roles.kinds[column].kind == Kind::Text && column != date && column != roles.monthColumn &&
                    column != value && (pass == 1 || roles.kinds[column].varies))
                    texts << column;
        bool named = false;
        for (int column : texts)
            named = named || says(source.columnName(column), seriesWords);
        if (named || datesRepeat(source, date, roles.monthColumn)) {
            series = pick(source, texts, seriesWords, QStringLiteral("Series"),
                          QStringLiteral("--series-column"), roles.guesses);
        } else {
            for (int column : texts)
                if (roles.kinds[column].varies)
                    roles.guesses << QStringLiteral(
                                         "One series a column of numbers; the text in %1 is left out "
                                         "(to name series by it: --series-column %1)")
                                         .arg(quotedName(source, column));
        }
    }
    roles.seriesColumn = series;

    QVector<int> numbers;
    for (int column = 0; column < columns; ++column)
        if (roles.kinds[column].numeric() && column != date && column != roles.monthColumn &&
            column != series)
            numbers << column;
    if (value >= 0)
        roles.valueColumns = {value};
    else if (series >= 0 && !numbers.isEmpty())
        roles.valueColumns = {pick(source, numbers, valueWords, QStringLiteral("Values"),
                                   QStringLiteral("--value-column"), roles.guesses)};
    else
        roles.valueColumns = numbers;
    if (roles.valueColumns.isEmpty()) {
        // Name the first value that kept a column from being one of numbers.
        for (int column = 0; column < columns && roles.error.isEmpty(); ++column) {
            const int row = roles.kinds[column].firstOther;
            if (column != date && column != roles.monthColumn &&
                (column != series || options.seriesColumn.isEmpty()) && row > 0)
                roles.error = source.place(row, column) +
                              QStringLiteral(": \"%1\" is not a number, and the file needs a column of "
                                             "numbers beside its dates (--value-column says which).")
                                  .arg(FileText::shortened(
                                      FileText::decode(CellText::trimmed(source.table.cell(row, column)))));
        }
        if (roles.error.isEmpty())
            roles.error = QStringLiteral("No column of numbers: the file needs one beside its dates "
                                         "(--value-column says which).");
        return roles;
    }
    for (int column = 0; column < columns; ++column)
        if (column != date && column != roles.monthColumn && column != series &&
            !roles.valueColumns.contains(column))
            roles.leftOut << column;
    return roles;
}
