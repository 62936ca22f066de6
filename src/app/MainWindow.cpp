#include "app/MainWindow.h"

#include "app/InquiryEntries.h"
#include "graph/StackedGraph.h"
#include "import/DataLoader.h"
#include "view/OpenGLSupport.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/StackedGraphWidget.h"
#include "widgets/UserDialogs.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

MainWindow::MainWindow()
    : QMainWindow(nullptr)
    , windowTitleBase(QStringLiteral("Stacked Graph")) {
    QMenu* fileMenu = menuBar()->addMenu(tr("File"));
    auto* loadAction = new QAction(fileMenu);
    loadAction->setText(tr("Load Data"));
    loadAction->setShortcut(QKeySequence::Open);
    connect(loadAction, &QAction::triggered, this, &MainWindow::setOpenFileName);
    fileMenu->addAction(loadAction);
    fileMenu->addSeparator();
    auto* quitAction = new QAction(fileMenu);
    quitAction->setText(tr("Quit"));
    quitAction->setShortcut(QKeySequence::Quit);
    connect(quitAction, &QAction::triggered, this, &MainWindow::quitApp);
    fileMenu->addAction(quitAction);

    QMenu* viewMenu = menuBar()->addMenu(tr("View"));
    auto* autoGLAction = new QAction(viewMenu);
    autoGLAction->setText(tr("Auto OpenGL"));
    autoGLAction->setCheckable(true);
    viewMenu->addAction(autoGLAction);
    auto* glAction = new QAction(viewMenu);
    glAction->setText(tr("OpenGL"));
    glAction->setCheckable(true);
    viewMenu->addAction(glAction);
    viewMenu->addSeparator();
    auto* detailAction = new QAction(viewMenu);
    detailAction->setText(tr("Detailed Information"));
    detailAction->setCheckable(true);
    viewMenu->addAction(detailAction);
    viewMenu->addSeparator();
    auto* compareAction = new QAction(viewMenu);
    compareAction->setText(tr("Compare Graph"));
    compareAction->setCheckable(true);
    viewMenu->addAction(compareAction);
    viewMenu->addSeparator();
    auto* fitLabelsAction = new QAction(viewMenu);
    fitLabelsAction->setText(tr("Fit Labels"));
    fitLabelsAction->setCheckable(true);
    viewMenu->addAction(fitLabelsAction);
    auto* timeAxisAction = new QAction(viewMenu);
    timeAxisAction->setText(tr("Time Axis"));
    timeAxisAction->setCheckable(true);
    viewMenu->addAction(timeAxisAction);

    QMenu* infoMenu = menuBar()->addMenu(tr("Info"));
    auto* aboutAction = new QAction(infoMenu);
    aboutAction->setText(tr("About"));
    connect(aboutAction, &QAction::triggered, this, &MainWindow::showAboutBox);
    infoMenu->addAction(aboutAction);

    centralWidget = new CentralWidget(this);

    // "Auto OpenGL" first disables and checks "OpenGL" (giving both graphs an OpenGL
    // viewport), then lets the automatic rule decide; the order matters.
    connect(glAction, &QAction::toggled, centralWidget, &CentralWidget::setGLViewport);
    connect(autoGLAction, &QAction::toggled, glAction, &QAction::setDisabled);
    connect(autoGLAction, &QAction::toggled, glAction, &QAction::setChecked);
    connect(autoGLAction, &QAction::toggled, centralWidget, &CentralWidget::setAutoGLViewport);
    connect(detailAction, &QAction::toggled, centralWidget, &CentralWidget::setDetailedInformation);
    connect(compareAction, &QAction::toggled, centralWidget, &CentralWidget::toggleCompareGraph);
    connect(fitLabelsAction, &QAction::toggled, centralWidget, &CentralWidget::setFittedLabels);
    connect(timeAxisAction, &QAction::toggled, centralWidget, &CentralWidget::setTimeAxis);
    new InquiryEntries(this, viewMenu, centralWidget);

    if (OpenGLSupport::hasOpenGL() && centralWidget->mainGraph->stackedGraph->view->glAvailable) {
        autoGLAction->setChecked(true);
    } else {
        autoGLAction->setEnabled(false);
        glAction->setEnabled(false);
    }

    setCentralWidget(centralWidget);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::ForceTabbedDocks | QMainWindow::VerticalTabs);
    setWindowTitle(windowTitleBase);
    setAcceptDrops(true);
}

QString MainWindow::shortName(const QString& fileName) {
    const QString afterSlash = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
    const int dot = afterSlash.indexOf(QLatin1Char('.'));
    return dot < 0 ? afterSlash : afterSlash.left(dot);
}

bool MainWindow::loadFile(const QString& fileName) {
    QString message;
    bool loaded = false;
    // A table's columns are shown, and chosen, before it loads; a data file loads as it is. The table
    // the preview showed is the one that loads: the preview cannot change the rows left out above it.
    if (DataLoader::isTable(fileName)) {
        const SourceTable source = DataLoader::readTable(fileName);
        ImportOptions options;
        if (source.ok() && !UserDialogs::instance().previewImport(this, fileName, source, &options))
            return false;
        message = source.error;
        loaded = source.ok() && centralWidget->loadTable(source, &message, options);
    } else {
        loaded = centralWidget->loadDataFile(fileName, &message);
    }
    if (!loaded) {
        UserDialogs::instance().showWarning(this, tr("Load Data"),
                                            tr("The data file could not be loaded.\n\n%1").arg(message));
        return false;
    }
    setWindowTitle(windowTitleBase + QStringLiteral(" (") + shortName(fileName) + QLatin1Char(')'));
    if (centralWidget->series.isEmpty())
        UserDialogs::instance().showInformation(
            this, tr("Load Data"), tr("The file %1 holds no series with two or more points.").arg(fileName));
    return true;
}

void MainWindow::setOpenFileName() {
    const QString fileName = UserDialogs::instance().getOpenFileName(
        this, tr("Load File"), tr("Data Files (*.data);;All Files (*)"));
    if (fileName.isEmpty())
        return;
    loadFile(fileName);
}

void MainWindow::showAboutBox() {
    UserDialogs::instance().showAbout(this, QStringLiteral("About"),
                                      QStringLiteral("\nwritten by:\n\nthe Stacked Graph developers\t\n"));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    loadFile(urls.first().toLocalFile());
}
