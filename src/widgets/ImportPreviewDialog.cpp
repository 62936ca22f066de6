#include "widgets/ImportPreviewDialog.h"

#include "data/MonthRange.h"
#include "data/MonthText.h"
#include "import/TableImport.h"
#include "table/SourceTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

namespace {

QString columnTitle(const SourceTable& source, int column) {
    const QString name = source.columnName(column);
    return QStringLiteral("%1: %2").arg(column + 1).arg(name.isEmpty() ? QStringLiteral("(no name)") : name);
}

// The combo entry whose data is the column number, as an option names it.
void selectColumn(QComboBox* box, int column) {
    const int index = box->findData(column < 0 ? QString() : QString::number(column + 1));
    box->setCurrentIndex(index < 0 ? 0 : index);
}

// What the loaded data would be, in a line: series, months and their span.
QString dataText(const DataFileResult& data) {
    const QVector<DataSeries>& series = data.data.series;
    if (series.isEmpty())
        return QStringLiteral("No series with two or more months (%1 read).").arg(data.seriesRead);
    const MonthRange months = MonthRange::ofSeries(series);
    QString text = QStringLiteral("%1 series over %2 months, %3 to %4.")
                       .arg(series.size())
                       .arg(months.span() + 1)
                       .arg(MonthText::padded(months.firstYear, months.firstMonth),
                            MonthText::padded(months.lastYear, months.lastMonth));
    if (data.droppedSeries > 0)
        text += QStringLiteral(" %1 of %2 series left out: fewer than two months.")
                    .arg(data.droppedSeries)
                    .arg(data.seriesRead);
    return text;
}

} // namespace

ImportPreviewDialog::ImportPreviewDialog(const QString& fileName, const SourceTable& source,
                                         const ImportOptions& options, QWidget* parent)
    : QDialog(parent)
    , source(source)
    , chosen(options) {
    setWindowTitle(QStringLiteral("Import %1").arg(QFileInfo(fileName).fileName()));
    const TextTable& table = source.table;

    rowsTable = new QTableWidget(std::min(table.rowCount() - 1, previewRows), table.columnCount(), this);
    for (int column = 0; column < table.columnCount(); ++column)
        rowsTable->setHorizontalHeaderItem(column, new QTableWidgetItem(columnTitle(source, column)));
    for (int row = 1; row <= rowsTable->rowCount(); ++row) {
        for (int column = 0; column < table.columnCount(); ++column) {
            auto* item = new QTableWidgetItem(FileText::decode(table.cell(row, column)));
            item->setFlags(Qt::ItemIsEnabled);
            rowsTable->setItem(row - 1, column, item);
        }
    }
    rowsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rowsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    dateBox = new QComboBox(this);
    seriesBox = new QComboBox(this);
    valueBox = new QComboBox(this);
    seriesBox->addItem(QStringLiteral("none: a series a column of numbers"),
                       QLatin1String(ImportOptions::noColumn));
    valueBox->addItem(QStringLiteral("every column of numbers"), QString());
    for (int column = 0; column < table.columnCount(); ++column) {
        for (QComboBox* box : {dateBox, seriesBox, valueBox})
            box->addItem(columnTitle(source, column), QString::number(column + 1));
    }
    aggregateBox = new QComboBox(this);
    aggregateBox->addItems(ImportOptions::aggregateNames());
    aggregateBox->setCurrentIndex(int(chosen.aggregate));
    dateOrderBox = new QComboBox(this);
    dateOrderBox->addItems(ImportOptions::dateOrderNames());
    dateOrderBox->setCurrentIndex(int(chosen.dateOrder));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Dates"), dateBox);
    form->addRow(QStringLiteral("Series"), seriesBox);
    form->addRow(QStringLiteral("Values"), valueBox);
    form->addRow(QStringLiteral("Values in one month"), aggregateBox);
    form->addRow(QStringLiteral("Date order"), dateOrderBox);

    resultLabel = new QLabel(this);
    resultLabel->setWordWrap(true);
    resultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rowsTable, 1);
    layout->addLayout(form);
    layout->addWidget(resultLabel);
    layout->addWidget(buttons);

    for (QComboBox* box : {dateBox, seriesBox, valueBox, aggregateBox, dateOrderBox})
        connect(box, &QComboBox::activated, this, &ImportPreviewDialog::readChoices);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(900, 600);
    showResult();
}

void ImportPreviewDialog::readChoices() {
    chosen.dateColumn = dateBox->currentData().toString();
    chosen.seriesColumn = seriesBox->currentData().toString();
    chosen.valueColumn = valueBox->currentData().toString();
    chosen.aggregate = ImportOptions::Aggregate(aggregateBox->currentIndex());
    chosen.dateOrder = ImportOptions::DateOrder(dateOrderBox->currentIndex());
    showResult();
}

void ImportPreviewDialog::showResult() {
    const ImportResult result = TableImport::run(source, chosen);
    const ColumnRoles& roles = result.report.roles;
    {
        const QSignalBlocker blockers[] = {QSignalBlocker(dateBox), QSignalBlocker(seriesBox),
                                           QSignalBlocker(valueBox)};
        if (roles.dateColumn >= 0)
            selectColumn(dateBox, roles.dateColumn);
        if (roles.ok()) {
            selectColumn(seriesBox, roles.seriesColumn);
            selectColumn(valueBox, roles.isLong() ? roles.valueColumns.value(0) : -1);
        }
    }
    buttons->button(QDialogButtonBox::Ok)->setEnabled(result.ok());
    if (!result.ok()) {
        resultLabel->setText(QStringLiteral("This would load nothing: ") + result.data.error);
        return;
    }
    QString text =
        dataText(result.data) + QLatin1Char('\n') + result.report.lines().mid(1).join(QLatin1Char('\n'));
    // Here the boxes above change what the command line's options do.
    for (const auto& [option, box] :
         {std::pair<const char*, const char*>("--date-order day-first or month-first", "the Date order box"),
          {"--series-column)", "the Series box)"},
          {"--series-column ", "the Series box, "},
          {"--date-column", "the Dates box"},
          {"--value-column", "the Values box"},
          {"--skip-rows", "the command line's --skip-rows"}})
        text.replace(QLatin1String(option), QLatin1String(box));
    resultLabel->setText(text);
}
