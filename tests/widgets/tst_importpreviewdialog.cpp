#include "table/CsvTable.h"
#include "widgets/ImportPreviewDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

class ImportPreviewDialogTest : public QObject {
    Q_OBJECT
private slots:
    // The boxes show what was found; a choice re-reads the table and the result follows it.
    void choicesUpdateTheResult() {
        const SourceTable source =
            CsvTable::read("Sales\n\ndate,shop,amount,note\n2000-01-01,A,1,x\n2000-01-02,B,2,y\n"
                           "2000-01-02,A,3,x\n2000-02-01,A,4,z\n2000-02-01,B,8,z\n");
        ImportPreviewDialog dialog(QStringLiteral("/tmp/sales.csv"), source, ImportOptions(), nullptr);
        QCOMPARE(dialog.rowsTable->rowCount(), 5);
        QCOMPARE(dialog.rowsTable->item(0, 1)->text(), QStringLiteral("A"));
        QCOMPARE(dialog.dateBox->currentText(), QStringLiteral("1: date"));
        QCOMPARE(dialog.seriesBox->currentText(), QStringLiteral("2: shop"));
        QCOMPARE(dialog.valueBox->currentText(), QStringLiteral("3: amount"));
        QVERIFY2(dialog.resultLabel->text().startsWith(
                     QStringLiteral("2 series over 2 months, 2000.01 to 2000.02.")),
                 qPrintable(dialog.resultLabel->text()));
        QVERIFY(dialog.resultLabel->text().contains(
            QStringLiteral("1 month shared by 2 values combined by sum")));
        QVERIFY(dialog.resultLabel->text().contains(QStringLiteral("Rows above the header left out: 1")));
        QVERIFY(dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled());

        dialog.aggregateBox->setCurrentIndex(int(ImportOptions::Aggregate::Max));
        emit dialog.aggregateBox->activated(dialog.aggregateBox->currentIndex());
        QCOMPARE(dialog.options().aggregate, ImportOptions::Aggregate::Max);
        QVERIFY(dialog.resultLabel->text().contains(QStringLiteral("combined by max")));

        // Series by the note column: three names of one month each, which is said.
        dialog.seriesBox->setCurrentIndex(dialog.seriesBox->findText(QStringLiteral("4: note")));
        emit dialog.seriesBox->activated(dialog.seriesBox->currentIndex());
        QCOMPARE(dialog.options().seriesColumn, QStringLiteral("4"));
        QVERIFY2(dialog.resultLabel->text().contains(
                     QStringLiteral("No series with two or more months (3 read).")),
                 qPrintable(dialog.resultLabel->text()));

        // A choice that gives nothing says why and cannot be taken.
        dialog.valueBox->setCurrentIndex(dialog.valueBox->findText(QStringLiteral("2: shop")));
        emit dialog.valueBox->activated(dialog.valueBox->currentIndex());
        QVERIFY(!dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled());
        QVERIFY2(dialog.resultLabel->text().contains(QStringLiteral("\"A\" is not a number")),
                 qPrintable(dialog.resultLabel->text()));
    }
};

QTEST_MAIN(ImportPreviewDialogTest)
#include "tst_importpreviewdialog.moc"
