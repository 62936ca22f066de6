#include "import/TableImport.h"

#include "data/FileText.h"
#include "data/SeriesNormalizer.h"
#include "table/SourceTable.h"

#include <QHash>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using Order = DateText::Order;

QString quoted(TextSpan text) {
    return QLatin1Char('"') + FileText::shortened(FileText::decode(CellText::trimmed(text))) +
           QLatin1Char('"');
}

// Reads the rows of one table; the first failure ends it.
class Pass {
public:
    Pass(const SourceTable& source, const ImportOptions& options, ImportResult& result)
        : source(source)
        , table(source.table)
        , roles(result.report.roles)
        , report(result.report)
        , result(result.data) {
        switch (options.dateOrder) {
        case ImportOptions::DateOrder::DayFirst:
            order = Order::DayFirst;
            break;
        case ImportOptions::DateOrder::MonthFirst:
            order = Order::MonthFirst;
            break;
        case ImportOptions::DateOrder::Auto:
            break;
        }
    }

    void run();
    bool failed() const { return !result.error.isEmpty(); }

private:
    void fail(int row, int column, const QString& what) {
        if (!failed())
            result.error = source.place(row, column) + QStringLiteral(": ") + what;
    }
    // The month of a row; false when the row is skipped or the table failed.
    bool readDate(int row, qint32& year, qint32& month);
    bool decideOrder(int row);
    void addValue(int row, int column, int series, qint32 year, qint32 month);
    int seriesOf(int row);

    const SourceTable& source;
    const TextTable& table;
    const ColumnRoles& roles;
    ImportReport& report;
    DataFileResult& result;
    Order order = Order::Unknown;
    QHash<QString, int> seriesByName;
    std::string lastName;
    int lastSeries = -1;
};

bool Pass::decideOrder(int row) {
    int dayFirst = -1;
    int monthFirst = -1;
    // The sample may not have told; the whole column may.
    for (int r = 1; r < table.rowCount() && (dayFirst < 0 || monthFirst < 0); ++r) {
        const Order shown = DateText::orderShown(DateText::parse(table.cell(r, roles.dateColumn)));
        if (shown == Order::DayFirst && dayFirst < 0)
            dayFirst = r;
        if (shown == Order::MonthFirst && monthFirst < 0)
            monthFirst = r;
    }
    const QString options = QStringLiteral(" (--date-order day-first or month-first says which).");
    if (dayFirst > 0 && monthFirst > 0) {
        fail(monthFirst, roles.dateColumn,
             QStringLiteral("%1 puts a day above 12 second, but %2 has one first (line %3): the column mixes "
                            "day/month and month/day")
                     .arg(quoted(table.cell(monthFirst, roles.dateColumn)),
                          quoted(table.cell(dayFirst, roles.dateColumn)))
                     .arg(table.cellLine(dayFirst, roles.dateColumn)) +
                 options);
        return false;
    }
    if (dayFirst < 0 && monthFirst < 0) {
        fail(row, roles.dateColumn,
             QStringLiteral(
                 "cannot tell whether %1 is day/month/year or month/day/year: no date of the column "
                 "has a day above 12")
                     .arg(quoted(table.cell(row, roles.dateColumn))) +
                 options);
        return false;
    }
    const int shownAt = dayFirst > 0 ? dayFirst : monthFirst;
    order = dayFirst > 0 ? Order::DayFirst : Order::MonthFirst;
    report.dateOrderNote = QStringLiteral("%1, as %2 on line %3 shows")
                               .arg(order == Order::DayFirst ? QStringLiteral("day/month/year")
                                                             : QStringLiteral("month/day/year"),
                                    quoted(table.cell(shownAt, roles.dateColumn)))
                               .arg(table.cellLine(shownAt, roles.dateColumn));
    return true;
}

bool Pass::readDate(int row, qint32& year, qint32& month) {
    const TextSpan cell = table.cell(row, roles.dateColumn);
    if (roles.monthColumn >= 0) {
        if (!CellText::parseInteger(cell, year)) {
            fail(row, roles.dateColumn, QStringLiteral("%1 is not a year.").arg(quoted(cell)));
            return false;
        }
        const TextSpan monthText = CellText::trimmed(table.cell(row, roles.monthColumn));
        if (!CellText::parseInteger(monthText, month))
            month = DateText::monthNamed(monthText);
        if (month < 1 || month > 12) {
            fail(row, roles.monthColumn,
                 QStringLiteral("%1 is not a month (1 to 12).").arg(quoted(monthText)));
            return false;
        }
        return true;
    }
    DateText::Date date = DateText::parse(cell);
    if (date.form == DateText::Form::Numeric && order == Order::Unknown && !decideOrder(row))
        return false;
    if (!date.ok() || !DateText::resolve(date, order)) {
        fail(row, roles.dateColumn,
             QStringLiteral("%1 is not a date (such as 2020-12-31, 2020-12, Dec 2020, 2020-Q4 or 1880)%2.")
                 .arg(quoted(cell),
                      date.ok() ? QStringLiteral(" in the column's order, ") +
                                      ImportOptions::dateOrderNames()[order == Order::DayFirst ? 1 : 2]
                                : QString()));
        return false;
    }
    if (date.month == 13) {
        ++report.totalRows;
        return false;
    }
    year = date.year;
    month = date.month;
    return true;
}

int Pass::seriesOf(int row) {
    const TextSpan name = table.cell(row, roles.seriesColumn);
    if (lastSeries >= 0 && lastName.size() == size_t(name.size()) &&
        std::memcmp(lastName.data(), name.begin, size_t(name.size())) == 0)
        return lastSeries;
    lastName.assign(name.begin, size_t(name.size()));
    const QString decoded = FileText::decode(name);
    lastSeries = seriesByName.value(decoded, -1);
    if (lastSeries < 0) {
        lastSeries = int(result.data.series.size());
        seriesByName.insert(decoded, lastSeries);
        result.data.series.append(DataSeries{decoded, {}});
    }
    return lastSeries;
}

void Pass::addValue(int row, int column, int series, qint32 year, qint32 month) {
    const TextSpan cell = table.cell(row, column);
    if (CellText::isMissing(cell)) {
        ++report.missing;
        return;
    }
    double number = 0.0;
    if (!CellText::parseNumber(cell, roles.kinds[column].mark, number)) {
        fail(row, column,
             QStringLiteral("%1 is not a number%2.")
                 .arg(quoted(cell), roles.kinds[column].mark == CellText::DecimalMark::Comma
                                        ? QStringLiteral(" (with a decimal comma, as 1.234,5)")
                                        : QString()));
        return;
    }
    if (!(std::abs(number) <= SeriesNormalizer::maxValue)) {
        fail(row, column,
             QStringLiteral("%1 is too large (more than 1e300, or beyond what a number can hold).")
                 .arg(quoted(cell)));
        return;
    }
    if (++report.values > TableImport::maxValues) {
        fail(row, column, QStringLiteral("the file holds more than %1 values.").arg(TableImport::maxValues));
        return;
    }
    result.data.series[series].points.append(DataPoint{year, month, number});
}

void Pass::run() {
    if (!roles.isLong()) {
        for (int column : roles.valueColumns)
            result.data.series.append(DataSeries{FileText::decode(table.cell(0, column)), {}});
    }
    const int rows = table.rowCount();
    for (int row = 1; row < rows && !failed(); ++row) {
        ++report.rows;
        qint32 year = 0;
        qint32 month = 1;
        if (!readDate(row, year, month))
            continue;
        if (roles.isLong()) {
            addValue(row, roles.valueColumns.first(), seriesOf(row), year, month);
        } else {
            for (int i = 0; i < roles.valueColumns.size() && !failed(); ++i)
                addValue(row, roles.valueColumns[i], i, year, month);
        }
    }
}

} // namespace

const QVector<QString>& TableImport::magnitudeSuffixes() {
    static const QVector<QString> suffixes = {QString(), QStringLiteral("k"), QStringLiteral("M"),
                                              QStringLiteral("G"), QStringLiteral("T")};
    return suffixes;
}

ImportResult TableImport::run(const SourceTable& source, const ImportOptions& options) {
    ImportResult result;
    DataFileResult& data = result.data;
    ImportReport& report = result.report;
    data.rowsRead = 0;
    report.json = source.kind == SourceTable::Kind::Json;
    report.delimiter = source.delimiter;
    report.skippedRows = source.skippedRows;
    report.skipFound = source.skipFound;
    report.aggregate = options.aggregate;
    if (!source.ok()) {
        data.error = source.error;
        return result;
    }
    if (source.table.rowCount() < 2) {
        data.error = source.kind == SourceTable::Kind::Json
                         ? QStringLiteral("The file's records hold no values.")
                         : QStringLiteral("Line %1: the file has a header but no rows of data.")
                               .arg(source.table.line(0));
        return result;
    }
    for (int column = 0; column < source.table.columnCount(); ++column)
        report.columnNames << source.columnName(column);
    report.roles = ColumnRoles::detect(source, options);
    if (!report.roles.ok()) {
        data.error = report.roles.error;
        return result;
    }
    for (int column : report.roles.valueColumns)
        report.decimalComma =
            report.decimalComma || report.roles.kinds[column].mark == CellText::DecimalMark::Comma;

    Pass pass(source, options, result);
    pass.run();
    data.rowsRead = report.rows;
    QString error = data.error;
    if (error.isEmpty())
        error = MonthBins::combine(data.data.series, options.aggregate, &report.bins);
    data.seriesRead = int(data.data.series.size());
    if (error.isEmpty())
        error = SeriesNormalizer::normalize(data.data.series, &data.droppedSeries, &data.duplicateMonths);
    if (!error.isEmpty()) {
        data.error = error;
        data.data = DataSet();
        return result;
    }
    data.data.magnitudeSuffixes = magnitudeSuffixes();
    return result;
}
