#pragma once

#include <QObject>

class CentralWidget;
class QAction;
class QMainWindow;
class QMenu;
class SeriesListDock;

// The "View" menu's entries for asking the graph, after a separator at its end, all unchecked at start:
// "Readout" (the status bar tells what lies under the pointer; a click highlights a layer), "Series
// List" (a dock to find, highlight and hide series) and "Fill Window" (the graphs' widths follow their
// views). The status bar is shown only while "Readout" is checked and the dock only while "Series List"
// is; with all three off the window is as it was.
class InquiryEntries : public QObject {
    Q_OBJECT
public:
    InquiryEntries(QMainWindow* window, QMenu* viewMenu, CentralWidget* central);

    QAction* readoutAction = nullptr;
    QAction* seriesListAction = nullptr;
    QAction* fillWindowAction = nullptr;

private:
    void setReadout(bool on);
    void showReadout(const QString& text);
    void setSeriesList(bool on);
    void refreshRows();
    // With neither entry that makes highlights on, nothing stays highlighted.
    void dropHighlightUnlessAsked();

    QMainWindow* window;
    CentralWidget* central;
    SeriesListDock* seriesList = nullptr;
};
