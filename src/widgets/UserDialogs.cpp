#include "widgets/UserDialogs.h"

#include "widgets/ImportPreviewDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {
UserDialogs* installed = nullptr;
}

UserDialogs::~UserDialogs() = default;

QColor UserDialogs::getColor(const QColor& initial, QWidget* parent) {
    return QColorDialog::getColor(initial, parent);
}

QString UserDialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString UserDialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

void UserDialogs::showWarning(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::warning(parent, title, text);
}

void UserDialogs::showInformation(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::information(parent, title, text);
}

void UserDialogs::showAbout(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox::about(parent, title, text);
}

bool UserDialogs::previewImport(QWidget* parent, const QString& fileName, const SourceTable& source,
                                ImportOptions* options) {
    ImportPreviewDialog dialog(fileName, source, *options, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *options = dialog.options();
    return true;
}

UserDialogs& UserDialogs::instance() {
    static UserDialogs real;
    return installed ? *installed : real;
}

void UserDialogs::setInstance(UserDialogs* dialogs) {
    installed = dialogs;
}
