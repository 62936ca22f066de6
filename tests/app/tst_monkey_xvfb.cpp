#include "app/MainWindow.h"
#include "graph/StackedGraph.h"
#include "support/DataSnapshot.h"
#include "support/FakeDialogs.h"
#include "support/MonkeyActions.h"
#include "support/MonkeyFiles.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/StackedGraphWidget.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QThread>

#include <memory>

// A long run of random but reproducible user actions on the real main window. Afterwards the
// window must still work, and no failed load may have touched the data loaded before it.
// STACKEDGRAPH_MONKEY_EVENTS and STACKEDGRAPH_MONKEY_SEED change the run's length and seed.
// A seed replays exactly: no action depends on how long the one before took, and the run
// prints a digest of every action and the state it left, to compare two runs by.

namespace {

constexpr quint32 defaultSeed = 20261208;
constexpr int defaultEvents = 1000;
constexpr quint32 replaySeed = 7;
constexpr int replayEvents = 100;

int environmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// While it lives, every input event reaches the program a random real time late, as on a
// busy machine: an action that raced a timer would then come out differently.
class Dawdler : public QObject {
public:
    Dawdler() { QCoreApplication::instance()->installEventFilter(this); }
    ~Dawdler() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->isInputEvent())
            QThread::msleep(QRandomGenerator::global()->bounded(10));
        return false;
    }
};

// What the actions have made of the graphs, for the log.
QString state(const MainWindow& window) {
    QStringList graphs;
    for (const StackedGraphWidget* graph :
         {window.centralWidget->mainGraph, window.centralWidget->compareGraph}) {
        if (!graph->isVisible())
            continue;
        const StackedGraphView* view = graph->stackedGraph->view;
        graphs << QStringLiteral("width %1, %2 layers, scale %3 %4 at %5 %6, pixel scale %7%8")
                      .arg(graph->stackedGraph->xRange)
                      .arg(drawnLayers(graph))
                      .arg(view->transform().m11(), 0, 'g', 8)
                      .arg(view->transform().m22(), 0, 'g', 8)
                      .arg(view->horizontalScrollBar()->value())
                      .arg(view->verticalScrollBar()->value())
                      .arg(view->pixelScale, 0, 'g', 8)
                      .arg(view->glViewportActive ? QStringLiteral(", OpenGL") : QString());
    }
    return graphs.join(QStringLiteral("; "));
}

} // namespace

class MonkeyXvfbTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void randomActions();
    void replayIsExact();

private:
    // Jittered runs are slowed down at random, within each action and between actions, so
    // that timers and the X server's events land at other points than in a steady run.
    enum class Pace { Steady, Jittered };
    struct Kind {
        const char* name;
        int weight;
        QString (MonkeyActions::*step)();
        int count = 0;
        qint64 nanoseconds = 0;
    };

    void runMonkey(quint32 seed, int events, Pace pace, QStringList* log);

    MonkeyFiles files;
    int heldSliders = 0; // in the last run
};

void MonkeyXvfbTest::initTestCase() {
    QVERIFY(files.isValid());
}

void MonkeyXvfbTest::runMonkey(quint32 seed, int events, Pace pace, QStringList* log) {
    qInfo("monkey seed %u, %d events", seed, events);
    // The junk in the hostile files comes first from the generator, then the actions.
    QRandomGenerator rng(seed);
    heldSliders = 0;
    files.prepare(rng);
    if (QTest::currentTestFailed())
        return;
    FakeDialogs dialogs;
    MainWindow mainWindow;
    mainWindow.resize(900, 640);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    MonkeyActions actions(mainWindow, dialogs, files, rng);

    QVector<Kind> kinds = {
        {"combo", 14, &MonkeyActions::changeCombo},
        {"colour", 6, &MonkeyActions::pickColor},
        {"preset", 5, &MonkeyActions::choosePreset},
        {"slider drag", 5, &MonkeyActions::dragSlider},
        {"slider key", 4, &MonkeyActions::nudgeSlider},
        {"wheel", 16, &MonkeyActions::wheel},
        {"right click", 8, &MonkeyActions::rightClick},
        {"middle click", 5, &MonkeyActions::middleClick},
        {"pan", 5, &MonkeyActions::panView},
        {"toggle", 10, &MonkeyActions::toggle},
        {"good load", 6, &MonkeyActions::loadGood},
        {"hostile load", 6, &MonkeyActions::loadHostile},
        {"export", 5, &MonkeyActions::exportImage},
        {"about", 1, &MonkeyActions::showAbout},
    };
    int totalWeight = 0;
    for (const Kind& kind : kinds)
        totalWeight += kind.weight;

    std::unique_ptr<Dawdler> dawdler(pace == Pace::Jittered ? new Dawdler : nullptr);
    QElapsedTimer clock;
    clock.start();
    for (int event = 0; event < events; ++event) {
        int pick = int(rng.bounded(totalWeight));
        Kind* kind = kinds.data();
        while (pick >= kind->weight) {
            pick -= kind->weight;
            ++kind;
        }
        ++kind->count;
        QElapsedTimer stepClock;
        stepClock.start();
        const QString done = (actions.*kind->step)();
        if (pace == Pace::Jittered)
            QTest::qWait(int(QRandomGenerator::global()->bounded(30)));
        // The queued fits get their turn between actions, and objects that asked to be deleted
        // later go, as they would in the event loop (processEvents alone keeps them). What the X
        // server answers to the action (a window grown to fit its contents) is taken in before the
        // state is read, however long the server took.
        QCoreApplication::processEvents();
        QGuiApplication::sync();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        kind->nanoseconds += stepClock.nsecsElapsed();
        *log << QStringLiteral("%1: %2 | %3").arg(event).arg(done, state(mainWindow));
        if (done.startsWith(QLatin1String("FAIL")))
            QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3\nlast actions:\n%4")
                                 .arg(seed)
                                 .arg(event)
                                 .arg(done, log->mid(qMax(0, log->size() - 12)).join(QLatin1Char('\n')))));
    }

    QStringList counts;
    for (const Kind& kind : kinds)
        counts << QStringLiteral("%1 %2 (%3 ms)")
                      .arg(QString::fromLatin1(kind.name))
                      .arg(kind.count)
                      .arg(kind.nanoseconds / 1000000);
    const QByteArray digest =
        QCryptographicHash::hash(log->join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha256).toHex();
    qInfo("monkey seed %u: %d events in %lld ms (%s); %d failed loads, %d slider drags held the handle; "
          "log digest %s",
          seed, events, clock.elapsed(), qPrintable(counts.join(QStringLiteral(", "))), actions.failedLoads,
          actions.heldSliders, digest.left(16).constData());
    heldSliders = actions.heldSliders;

    // The window still answers: the example loads into both graphs.
    const QString last = actions.load(files.good().first());
    QVERIFY2(!last.startsWith(QLatin1String("FAIL")), qPrintable(last));
    QCOMPARE(drawnLayers(mainWindow.centralWidget->mainGraph), qsizetype(MonkeyFiles::exampleLayers));
    QCOMPARE(drawnLayers(mainWindow.centralWidget->compareGraph), qsizetype(MonkeyFiles::exampleLayers));
    QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Stacked Graph (unemployment-by-industry)"));
    QTest::qWait(50);
}

void MonkeyXvfbTest::randomActions() {
    const quint32 seed = quint32(environmentNumber("STACKEDGRAPH_MONKEY_SEED", int(defaultSeed)));
    const int events = environmentNumber("STACKEDGRAPH_MONKEY_EVENTS", defaultEvents);
    QStringList log;
    runMonkey(seed, events, Pace::Steady, &log);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(heldSliders > 0, "no slider drag ever grabbed the handle");
}

// A short seed run twice, the second time with random pauses, must give the same log.
void MonkeyXvfbTest::replayIsExact() {
    QStringList steady;
    runMonkey(replaySeed, replayEvents, Pace::Steady, &steady);
    if (QTest::currentTestFailed())
        return;
    QStringList jittered;
    runMonkey(replaySeed, replayEvents, Pace::Jittered, &jittered);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(heldSliders > 0);
    for (int event = 0; event < replayEvents; ++event)
        QCOMPARE(jittered[event], steady[event]);
}

QTEST_MAIN(MonkeyXvfbTest)
#include "tst_monkey_xvfb.moc"
