#pragma once

#include "import/ImportOptions.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QTableWidget;
struct SourceTable;

// Shows a table file before it loads: its first rows, the columns chosen for dates, series and values
// and the rule for values that share a month, as combo boxes, and what loading would give - series,
// months, and everything left out, skipped or combined - updated as the choices change. OK loads,
// Cancel keeps what was there; OK is off while the choices give no data.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ImportPreviewDialog(const QString& fileName, const SourceTable& source, const ImportOptions& options,
                        QWidget* parent);

    const ImportOptions& options() const { return chosen; }

    QComboBox* dateBox = nullptr;
    QComboBox* seriesBox = nullptr;
    QComboBox* valueBox = nullptr;
    QComboBox* aggregateBox = nullptr;
    QComboBox* dateOrderBox = nullptr;
    QTableWidget* rowsTable = nullptr;
    QLabel* resultLabel = nullptr;
    QDialogButtonBox* buttons = nullptr;

    // Rows of the file shown.
    static constexpr int previewRows = 20;

private:
    void readChoices();
    void showResult();

    const SourceTable& source;
    ImportOptions chosen;
};
