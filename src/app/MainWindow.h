#pragma once

#include <QMainWindow>
#include <QString>

class CentralWidget;

// The top-level window: menus "File", "View" and "Info" over the central widget.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow();

    // Loads a data file as "Load Data" does; tells the user when it fails and keeps what
    // was loaded before.
    bool loadFile(const QString& fileName);
    // The part of the file name after its last "/" and before its first ".".
    static QString shortName(const QString& fileName);

    CentralWidget* centralWidget = nullptr;
    const QString windowTitleBase;

signals:
    void quitApp();

private slots:
    void setOpenFileName();
    void showAboutBox();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
