#pragma once

#include "import/ImportOptions.h"
#include "table/SourceTable.h"
#include "widgets/UserDialogs.h"

#include <functional>

#include <QStringList>

// Answers the program's modal dialogs from prepared values and records the messages shown.
class FakeDialogs : public UserDialogs {
public:
    FakeDialogs() { UserDialogs::setInstance(this); }
    ~FakeDialogs() override { UserDialogs::setInstance(nullptr); }

    QColor getColor(const QColor& initial, QWidget*) override {
        colorAsked = initial;
        return colorAnswer;
    }
    QString getOpenFileName(QWidget*, const QString& caption, const QString& filter) override {
        captions << caption + QLatin1Char('|') + filter;
        return openAnswer;
    }
    QString getSaveFileName(QWidget*, const QString& caption, const QString& filter) override {
        captions << caption + QLatin1Char('|') + filter;
        return saveAnswer;
    }
    void showWarning(QWidget*, const QString&, const QString& text) override { warnings << text; }
    void showInformation(QWidget*, const QString&, const QString& text) override { informations << text; }
    void showAbout(QWidget*, const QString& title, const QString& text) override { about << title << text; }
    // Accepts the preview as found unless told otherwise; answerPreview may change the options.
    bool previewImport(QWidget*, const QString& fileName, const SourceTable&,
                       ImportOptions* options) override {
        previews << fileName;
        if (answerPreview)
            return answerPreview(*options);
        return true;
    }

    QColor colorAnswer;
    QColor colorAsked;
    QString openAnswer;
    QString saveAnswer;
    QStringList captions;
    QStringList warnings;
    QStringList informations;
    QStringList about;
    QStringList previews;
    std::function<bool(ImportOptions&)> answerPreview;
};
