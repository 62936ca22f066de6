#pragma once

#include <QColor>
#include <QString>

class QWidget;
struct ImportOptions;
struct SourceTable;

// The modal dialogs the program asks the user through. Tests install their own
// answers with setInstance(), so nothing waits for a person.
class UserDialogs {
public:
    virtual ~UserDialogs();

    virtual QColor getColor(const QColor& initial, QWidget* parent);
    virtual QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter);
    virtual QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter);
    virtual void showWarning(QWidget* parent, const QString& title, const QString& text);
    virtual void showInformation(QWidget* parent, const QString& title, const QString& text);
    virtual void showAbout(QWidget* parent, const QString& title, const QString& text);
    // The import preview of a table file; true, with the chosen *options, when the user wants it loaded.
    virtual bool previewImport(QWidget* parent, const QString& fileName, const SourceTable& source,
                               ImportOptions* options);

    static UserDialogs& instance();
    // Not owned; nullptr restores the real dialogs.
    static void setInstance(UserDialogs* dialogs);
};
