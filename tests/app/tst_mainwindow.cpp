#include "app/MainWindow.h"
#include "data/DataFileReader.h"
#include "export/DataSetCsv.h"
#include "graph/StackedGraph.h"
#include "import/ImportOptions.h"
#include "support/FakeDialogs.h"
#include "support/TestFiles.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/ColorPushButton.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>

namespace {

const QString example = exampleDataFile();

const QByteArray twoSeries = "[ \"\", true | \"\" \"k\" ]\n{ { \"A\" { (2008,1,10) (2008,4,40) } }"
                             " { \"B\" { (2008,2,5) (2008,3,7) } } }\n";

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menusAndStartState() {
        MainWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph"));
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus,
                 QStringList({QStringLiteral("File"), QStringLiteral("View"), QStringLiteral("Info")}));
        for (const char* text :
             {"Auto OpenGL", "OpenGL", "Detailed Information", "Compare Graph", "Time Axis"}) {
            QAction* entry = findAction(window, QString::fromLatin1(text));
            QVERIFY2(entry && entry->isCheckable() && !entry->isChecked(), text);
        }
        // The offscreen platform has no OpenGL: both OpenGL entries start disabled.
        QVERIFY(!findAction(window, QStringLiteral("Auto OpenGL"))->isEnabled());
        QVERIFY(!findAction(window, QStringLiteral("OpenGL"))->isEnabled());
        QVERIFY(!findAction(window, QStringLiteral("Load Data"))->isCheckable());
        QCOMPARE(findAction(window, QStringLiteral("Load Data"))->shortcut(),
                 QKeySequence(QKeySequence::Open));
        QVERIFY(window.centralWidget->compareGraph->isHidden());
        // The last entries, after a separator, start unchecked and add no status bar or dock.
        const QList<QAction*> view = window.menuBar()->actions()[1]->menu()->actions();
        QStringList last;
        for (QAction* entry : view.mid(view.size() - 3))
            last << entry->text() +
                        (entry->isCheckable() && !entry->isChecked() ? QString() : QStringLiteral("!"));
        QCOMPARE(last.join(QLatin1Char(',')), QStringLiteral("Readout,Series List,Fill Window"));
        QVERIFY(view[view.size() - 4]->isSeparator() && !window.findChild<QStatusBar*>() &&
                !window.findChild<QDockWidget*>());
        QCOMPARE(window.dockOptions(),
                 QMainWindow::AnimatedDocks | QMainWindow::ForceTabbedDocks | QMainWindow::VerticalTabs);
    }

    // Readout turned off takes its line along: turned on again, the status bar starts empty.
    void readoutOffClearsItsLine() {
        MainWindow window;
        QAction* readout = findAction(window, QStringLiteral("Readout"));
        readout->setChecked(true);
        emit window.centralWidget->readoutChanged(QStringLiteral("A"));
        QStatusBar* status = window.findChild<QStatusBar*>();
        QVERIFY(status);
        QCOMPARE(status->currentMessage(), QStringLiteral("A"));
        readout->setChecked(false);
        QVERIFY(status->isHidden());
        readout->setChecked(true);
        QCOMPARE(status->currentMessage(), QString());
    }

    void shortNames_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("path with dots")
            << QStringLiteral("C:/data/sales.2009.data") << QStringLiteral("sales");
        QTest::newRow("plain") << QStringLiteral("data") << QStringLiteral("data");
        QTest::newRow("only an extension") << QStringLiteral("/tmp/.data") << QString();
    }
    void shortNames() {
        QFETCH(QString, fileName);
        QFETCH(QString, shortName);
        QCOMPARE(MainWindow::shortName(fileName), shortName);
    }

    void loadDataSetsTheTitle() {
        QTemporaryDir dir;
        MainWindow window;
        FakeDialogs dialogs;
        dialogs.openAnswer = writeTestFile(dir, QStringLiteral("sales.2009.data"), twoSeries);
        findAction(window, QStringLiteral("Load Data"))->trigger();
        QCOMPARE(dialogs.captions.value(0), QStringLiteral("Load File|Data Files (*.data);;All Files (*)"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph (sales)"));
        QCOMPARE(window.centralWidget->series.size(), 2);

        dialogs.openAnswer = writeTestFile(dir, QStringLiteral(".data"), twoSeries);
        findAction(window, QStringLiteral("Load Data"))->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph ()"));

        // A cancelled dialog changes nothing.
        dialogs.openAnswer.clear();
        findAction(window, QStringLiteral("Load Data"))->trigger();
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph ()"));
        QVERIFY(dialogs.warnings.isEmpty());
    }

    void failedLoadKeepsEverything() {
        QTemporaryDir dir;
        MainWindow window;
        FakeDialogs dialogs;
        QVERIFY(window.loadFile(example));
        const int layers = window.centralWidget->mainGraph->stackedGraph->stackingOrder().size();
        QCOMPARE(layers, 14);
        const QString title = window.windowTitle();

        QVERIFY(!window.loadFile(dir.filePath(QStringLiteral("missing.data"))));
        QVERIFY(!window.loadFile(
            writeTestFile(dir, QStringLiteral("huge.data"), "[\"\"|]{{\"A\"{(2008,1,1)(2008,2,1e999)}}}")));
        QVERIFY(!window.loadFile(writeTestFile(dir, QStringLiteral("bad.csv"), "date,A\n2008-01,x\n")));
        QCOMPARE(dialogs.warnings.size(), 3);
        QVERIFY(dialogs.warnings.last().contains(QStringLiteral("Line 2, column 2")));
        QVERIFY(dialogs.warnings.first().contains(QStringLiteral("missing.data")));
        QCOMPARE(window.windowTitle(), title);
        QCOMPARE(window.centralWidget->series.size(), 14);
        QCOMPARE(window.centralWidget->mainGraph->stackedGraph->stackingOrder().size(), 14);
        QVERIFY(!window.centralWidget->mainGraph->stackedGraph->items().isEmpty());

        // A readable file without any series loads, and the user hears about it.
        QVERIFY(window.loadFile(writeTestFile(dir, QStringLiteral("empty.data"), "[\"\"|]{}")));
        QCOMPARE(dialogs.informations.size(), 1);
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph (empty)"));
        QVERIFY(window.centralWidget->mainGraph->stackedGraph->items().isEmpty());
    }

    // A table opens the preview; its choices load, Cancel keeps what was there, a data file needs none.
    void tablesLoadThroughThePreview() {
        QTemporaryDir dir;
        MainWindow window;
        FakeDialogs dialogs;
        QVERIFY(window.loadFile(example));
        QVERIFY(dialogs.previews.isEmpty());
        const QString daily = writeTestFile(dir, QStringLiteral("daily.csv"),
                                            "date,name,A\n2000-01-01,x,1\n2000-01-01,y,3\n2000-01-02,x,2\n"
                                            "2000-02-01,x,5\n2000-02-01,y,4\n");

        dialogs.answerPreview = [](ImportOptions&) { return false; };
        QVERIFY(!window.loadFile(daily));
        QCOMPARE(dialogs.previews, QStringList{daily});
        QCOMPARE(window.centralWidget->series.size(), 14);
        QVERIFY(dialogs.warnings.isEmpty());

        dialogs.answerPreview = [](ImportOptions& options) {
            options.aggregate = ImportOptions::Aggregate::Max;
            return true;
        };
        QVERIFY(window.loadFile(daily));
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph (daily)"));
        QCOMPARE(window.centralWidget->series.size(), 2);
        QCOMPARE(window.centralWidget->series[0].name, QStringLiteral("x"));
        QCOMPARE(window.centralWidget->series[0].points[0].value, 2.0);

        // What the preview's choices refuse is said, and the data stays.
        dialogs.answerPreview = [](ImportOptions& options) {
            options.seriesColumn = QStringLiteral("nothing");
            return true;
        };
        QVERIFY(!window.loadFile(daily));
        QVERIFY(dialogs.warnings.last().contains(QStringLiteral("--series-column: the file has no column")));
        QCOMPARE(window.centralWidget->series.size(), 2);
        // A file that is no table is refused before any preview.
        QVERIFY(!window.loadFile(writeTestFile(dir, QStringLiteral("broken.json"), "[{\"a\": ")));
        QCOMPARE(dialogs.previews.size(), 3);
        QVERIFY(dialogs.warnings.last().contains(QStringLiteral("the file is not JSON")));

        // What loads is the table the preview showed, even when the file changes while it is open.
        dialogs.answerPreview = [&](ImportOptions&) {
            writeTestFile(dir, QStringLiteral("daily.csv"), "date,A,B,C\n2000-01,1,2,3\n2000-02,4,5,6\n");
            return true;
        };
        QVERIFY(window.loadFile(daily));
        QCOMPARE(window.centralWidget->series.size(), 2);
        QCOMPARE(window.centralWidget->series[0].points[0].value, 3.0);
    }

    void compareModeCopiesTheMainSettings_data() {
        QTest::addColumn<bool>("csv");
        QTest::newRow("data file") << false;
        QTest::newRow("the same as CSV") << true;
    }
    void compareModeCopiesTheMainSettings() {
        QFETCH(bool, csv);
        QTemporaryDir dir;
        QByteArray csvBytes;
        QBuffer buffer(&csvBytes);
        buffer.open(QIODevice::WriteOnly);
        DataSetCsv::write(DataFileReader::readFile(example).data, buffer);
        const QString reloaded = csv ? writeTestFile(dir, QStringLiteral("example.csv"), csvBytes) : example;
        MainWindow window;
        FakeDialogs dialogs;
        QVERIFY(window.loadFile(example));
        StackedGraphWidget* main = window.centralWidget->mainGraph;
        StackedGraphWidget* compare = window.centralWidget->compareGraph;
        QAction* compareAction = findAction(window, QStringLiteral("Compare Graph"));

        main->sortBox->setCurrentIndex(1);
        compareAction->setChecked(true);
        QVERIFY(!compare->isHidden());
        QCOMPARE(compare->sortBox->currentIndex(), 1);
        compare->sortBox->setCurrentIndex(0);
        QCOMPARE(main->sortBox->currentIndex(), 1);
        compareAction->setChecked(false);
        QVERIFY(compare->isHidden());
        compareAction->setChecked(true);
        QCOMPARE(compare->sortBox->currentIndex(), 1);

        // A load keeps each graph's own choices and resets both sliders.
        compare->baselineBox->setCurrentIndex(0);
        main->xRangeSlider->setValue(main->xRangeSlider->maximum());
        QVERIFY(window.loadFile(reloaded));
        QVERIFY(!compare->isHidden());
        QCOMPARE(window.centralWidget->series.size(), 14);
        QCOMPARE(compare->baselineBox->currentIndex(), 0);
        QCOMPARE(main->baselineBox->currentIndex(), 2);
        QCOMPARE(main->xRangeSlider->value(), 320 * main->stackedGraph->monthSpan());
        QCOMPARE(compare->xRangeSlider->value(), 320 * compare->stackedGraph->monthSpan());
    }

    void detailedInformationReachesBothGraphs() {
        MainWindow window;
        FakeDialogs dialogs;
        QVERIFY(window.loadFile(example));
        StackedGraphWidget* main = window.centralWidget->mainGraph;
        StackedGraphWidget* compare = window.centralWidget->compareGraph;
        const QString scaled = main->colorButton1->text();
        findAction(window, QStringLiteral("Detailed Information"))->setChecked(true);
        QVERIFY(main->stackedGraph->detailedInfo);
        QVERIFY(compare->stackedGraph->detailedInfo); // hidden, all the same
        QVERIFY(main->colorButton1->text() != scaled);
        QCOMPARE(compare->colorButton1->text(), main->colorButton1->text());
        findAction(window, QStringLiteral("Detailed Information"))->setChecked(false);
        QCOMPARE(main->colorButton1->text(), scaled);
    }

    void fitLabelsReachesBothGraphs() {
        MainWindow window;
        FakeDialogs dialogs;
        QVERIFY(window.loadFile(example));
        const QList<QAction*> entries = window.menuBar()->actions()[1]->menu()->actions();
        // Added entries after a separator: "Fit Labels", then "Time Axis".
        QAction* fit = findAction(window, QStringLiteral("Fit Labels"));
        const qsizetype at = entries.indexOf(fit);
        QVERIFY(at > 0 && entries[at - 1]->isSeparator() && fit->isCheckable() && !fit->isChecked());
        StackedGraph* main = window.centralWidget->mainGraph->stackedGraph;
        StackedGraph* compare = window.centralWidget->compareGraph->stackedGraph;
        const LabelPlacement classic = main->layout().layers.first().label;
        fit->setChecked(true);
        QCOMPARE(main->labelMode, GraphSettings::LabelMode::Fitted);
        QCOMPARE(compare->labelMode, GraphSettings::LabelMode::Fitted); // hidden, all the same
        QVERIFY(main->layout().layers.first().label.origin != classic.origin);
        fit->setChecked(false);
        QCOMPARE(compare->labelMode, GraphSettings::LabelMode::Classic);
    }

    // The entry of "View" after "Fit Labels" switches both graphs' axes and their exports.
    void timeAxisReachesBothGraphs() {
        MainWindow window;
        QAction* timeAxis = findAction(window, QStringLiteral("Time Axis"));
        const QList<QAction*> entries = window.menuBar()->actions().at(1)->menu()->actions();
        const qsizetype at = entries.indexOf(timeAxis);
        QVERIFY(at > 0);
        QCOMPARE(entries.at(at - 1)->text(), QStringLiteral("Fit Labels"));
        timeAxis->setChecked(true);
        QVERIFY(window.centralWidget->mainGraph->stackedGraph->view->timeAxis);
        QVERIFY(window.centralWidget->compareGraph->stackedGraph->view->timeAxis);
    }

    void builtInSplashImage() {
        Q_INIT_RESOURCE(app);
        const QPixmap splash(QStringLiteral(":/app/splash.png"));
        QVERIFY(!splash.isNull());
        QVERIFY(splash.width() > splash.height());
    }

    void aboutBox() {
        MainWindow window;
        FakeDialogs dialogs;
        findAction(window, QStringLiteral("About"))->trigger();
        QCOMPARE(dialogs.about.value(0), QStringLiteral("About"));
        QVERIFY(dialogs.about.value(1).startsWith(QStringLiteral("\nwritten by:\n\n")));
    }

    // A file dragged over the graph and dropped there, as the window system delivers it: to the
    // window, which finds the widget under the pointer.
    void dropOnTheGraphLoadsTheFile() {
        MainWindow window;
        window.resize(1200, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* view = window.centralWidget->mainGraph->stackedGraph->view->viewport();
        const QPointF pos = view->mapTo(&window, view->rect().center());
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(example)});
        QDragEnterEvent enter(pos.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(pos.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Qt sends moves already accepted when the enter was, for the target to refuse.
        move.setDropAction(enter.dropAction());
        move.accept();
        QCoreApplication::sendEvent(window.windowHandle(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(window.centralWidget->series.size(), 14);
        QCOMPARE(window.windowTitle(), QStringLiteral("Stacked Graph (unemployment-by-industry)"));
    }

    void quitEndsTheEventLoop() {
        MainWindow window;
        QObject::connect(&window, &MainWindow::quitApp, qApp, &QApplication::quit);
        QTimer::singleShot(0, &window, [&window] { findAction(window, QStringLiteral("Quit"))->trigger(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QApplication::exit(7);
        });
        watchdog.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!timedOut);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
