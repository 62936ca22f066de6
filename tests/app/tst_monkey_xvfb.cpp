#include "app/MainWindow.h"
#include "data/DataSet.h"
#include "export/ImageSize.h"
#include "export/TimeAxisFooter.h"
#include "graph/ColorSchemePresets.h"
#include "graph/StackedGraph.h"
#include "support/FakeDialogs.h"
#include "support/WheelEvents.h"
#include "view/StackedGraphView.h"
#include "widgets/CentralWidget.h"
#include "widgets/ColorPushButton.h"
#include "widgets/StackedGraphWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <QWheelEvent>

#include <cmath>
#include <functional>
#include <memory>

// A long run of random but reproducible user actions on the real main window. Afterwards the
// window must still work, and no failed load may have touched the data loaded before it.
// STACKEDGRAPH_MONKEY_EVENTS and STACKEDGRAPH_MONKEY_SEED change the run's length and seed.
// A seed replays exactly: no action depends on how long the one before took, and the run
// prints a digest of every action and the state it left, to compare two runs by.

namespace {

const QString example = QStringLiteral(STACKEDGRAPH_SOURCE_DIR "/examples/unemployment-by-industry.data");
constexpr int exampleLayers = 14;
constexpr quint32 defaultSeed = 20261208;
constexpr int defaultEvents = 1000;
constexpr quint32 replaySeed = 7;
constexpr int replayEvents = 100;
// Exports render the whole graph; larger images would only make the run slow.
constexpr qint64 maxExportPixels = 4000000;

int environmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

QAction* action(MainWindow& window, const QString& text) {
    for (QAction* candidate : window.findChildren<QAction*>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

// Layers drawn by the last build; the stacking order alone may still name those of an
// earlier build when the data set became empty.
qsizetype drawnLayers(const StackedGraphWidget* graph) {
    qsizetype count = 0;
    for (const Layer& layer : graph->stackedGraph->stackingOrder())
        count += layer.item ? 1 : 0;
    return count;
}

// Everything a load may change, to compare before and after a failed one.
struct DataSnapshot {
    explicit DataSnapshot(const MainWindow& window)
        : series(window.centralWidget->series)
        , unitText(window.centralWidget->unitText)
        , unitAfterValue(window.centralWidget->unitAfterValue)
        , magnitudeSuffixes(window.centralWidget->magnitudeSuffixes)
        , title(window.windowTitle())
        , layers(drawnLayers(window.centralWidget->mainGraph)) {}

    // A text naming the first difference, or an empty text.
    QString differenceTo(const DataSnapshot& other) const {
        if (title != other.title)
            return QStringLiteral("title %1 became %2").arg(title, other.title);
        if (unitText != other.unitText || unitAfterValue != other.unitAfterValue ||
            magnitudeSuffixes != other.magnitudeSuffixes)
            return QStringLiteral("unit or suffixes changed");
        if (layers != other.layers)
            return QStringLiteral("%1 layers became %2").arg(layers).arg(other.layers);
        if (series.size() != other.series.size())
            return QStringLiteral("%1 series became %2").arg(series.size()).arg(other.series.size());
        for (int s = 0; s < series.size(); ++s) {
            const DataSeries& x = series[s];
            const DataSeries& y = other.series[s];
            if (x.name != y.name || x.points.size() != y.points.size())
                return QStringLiteral("series %1 changed").arg(s);
            for (int p = 0; p < x.points.size(); ++p)
                if (x.points[p].year != y.points[p].year || x.points[p].month != y.points[p].month ||
                    x.points[p].value != y.points[p].value)
                    return QStringLiteral("point %1 of series %2 changed").arg(p).arg(s);
        }
        return QString();
    }

    QVector<DataSeries> series;
    QString unitText;
    bool unitAfterValue;
    QVector<QString> magnitudeSuffixes;
    QString title;
    qsizetype layers;
};

// A file to load and what loading it must give.
struct DataFile {
    enum class Outcome { Loads, Fails, Either };
    QString path;
    Outcome outcome;
    int series; // for Loads: the number of series after the load; -1 when not known
};

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

QByteArray pointText(int year, int month, double value) {
    return "(" + QByteArray::number(year) + "," + QByteArray::number(month) + "," +
           QByteArray::number(value) + ") ";
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
    using Step = std::function<QString()>;
    struct Kind {
        const char* name;
        int weight;
        Step step;
        int count = 0;
        qint64 nanoseconds = 0;
    };

    void runMonkey(quint32 seed, int events, Pace pace, QStringList* log);
    QString state() const;
    QString shortPath(const QString& path) const;
    QString writeFile(const QString& name, const QByteArray& contents);
    void prepareFiles();
    QByteArray randomGoodFile(int* seriesCount);
    StackedGraphWidget* someGraph();
    QWidget* someViewport();
    QPoint somePoint(const QWidget* widget);

    QString changeCombo();
    QString pickColor();
    QString choosePreset();
    QString dragSlider();
    QString nudgeSlider();
    QString wheel();
    QString rightClick();
    QString middleClick();
    QString panView();
    QString toggle();
    QString loadGood();
    QString loadHostile();
    QString exportImage();
    QString showAbout();
    QString load(const DataFile& file);

    QTemporaryDir dir;
    QRandomGenerator rng;
    MainWindow* window = nullptr;
    FakeDialogs* dialogs = nullptr;
    QVector<DataFile> goodFiles;
    QVector<DataFile> hostileFiles;
    int generatedFiles = 0;
    int exports = 0;
    int heldSliders = 0;
    int failedLoads = 0;
};

void MonkeyXvfbTest::initTestCase() {
    QVERIFY(dir.isValid());
}

// A file's name as the log shows it: the same in every run, wherever the temporary files are.
QString MonkeyXvfbTest::shortPath(const QString& path) const {
    return path.startsWith(dir.path()) ? QDir(dir.path()).relativeFilePath(path) : QFileInfo(path).fileName();
}

// What the actions have made of the graphs, for the log.
QString MonkeyXvfbTest::state() const {
    QStringList graphs;
    for (const StackedGraphWidget* graph :
         {window->centralWidget->mainGraph, window->centralWidget->compareGraph}) {
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

QString MonkeyXvfbTest::writeFile(const QString& name, const QByteArray& contents) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write the test file %s", qPrintable(path));
    return path;
}

void MonkeyXvfbTest::prepareFiles() {
    using Outcome = DataFile::Outcome;
    goodFiles = {DataFile{example, Outcome::Loads, exampleLayers}};
    hostileFiles.clear();
    goodFiles << DataFile{
        writeFile(QStringLiteral("two.data"),
                  "[ \"EUR\", false | \"\" \" k\" ]\n{ { \"A\" { (2008,1,10) (2008,4,40) } }"
                  " { \"B\" { (2008,2,5) (2008,3,7) } } }\n"),
        Outcome::Loads, 2};
    goodFiles << DataFile{writeFile(QStringLiteral("year-end.data"),
                                    "[ \"\", true | ]\n{ { \"Late\" { (2007,11,0) (2008,2,30) } }"
                                    " { \"Early\" { (2006,1,3) (2006,2,1) (2009,12,4) } } }\n"),
                          Outcome::Loads, 2};
    goodFiles << DataFile{writeFile(QStringLiteral("zeros.data"),
                                    "[ \"\", true | ]\n{ { \"Z\" { (2000,1,0) (2000,6,0) } }"
                                    " { \"Y\" { (2000,3,0) (2000,4,0) } } }\n"),
                          Outcome::Loads, 2};
    goodFiles << DataFile{writeFile(QStringLiteral("empty.data"), QByteArray()), Outcome::Loads, 0};
    goodFiles << DataFile{writeFile(QStringLiteral("wide.csv"), "date,\"A, a\",B\n2000-01,1,\n2000-03,2,5\n"
                                                                "2000-04,,7\n"),
                          Outcome::Loads, 2};

    QFile exampleFile(example);
    QVERIFY(exampleFile.open(QIODevice::ReadOnly));
    const QByteArray exampleBytes = exampleFile.readAll();
    QVERIFY(exampleBytes.size() > 10000);

    QByteArray junk(8192, '\0');
    for (char& byte : junk)
        byte = char(rng.bounded(256));
    hostileFiles << DataFile{writeFile(QStringLiteral("junk.data"), junk), Outcome::Either, -1};
    QByteArray quotedJunk = junk;
    for (int i = 0; i < quotedJunk.size(); i += 17)
        quotedJunk[i] = "[\"|]{}(),"[i % 9];
    hostileFiles << DataFile{writeFile(QStringLiteral("quoted-junk.data"), quotedJunk), Outcome::Either, -1};
    hostileFiles << DataFile{writeFile(QStringLiteral("junk.csv"), quotedJunk), Outcome::Either, -1};
    hostileFiles << DataFile{writeFile(QStringLiteral("not-a-number.tsv"), "date\tA\n2000-01\tone\n"),
                             Outcome::Fails, -1};
    for (const int length : {1, 40, 700, 5000, 20000})
        hostileFiles << DataFile{
            writeFile(QStringLiteral("truncated-%1.data").arg(length), exampleBytes.left(length)),
            Outcome::Either, -1};
    const QByteArray header = "[ \"\", true | ]\n{ ";
    hostileFiles << DataFile{
        writeFile(QStringLiteral("huge-gap.data"), header + "{ \"G\" { (1,1,1) (2000000,12,5) } } }"),
        Outcome::Fails, -1};
    hostileFiles << DataFile{writeFile(QStringLiteral("year-extremes.data"),
                                       header + "{ \"E\" { (-2147483648,1,1) (2147483647,12,5) } } }"),
                             Outcome::Fails, -1};
    hostileFiles << DataFile{writeFile(QStringLiteral("apart.data"),
                                       header + "{ \"P\" { (1000,1,1) (1000,2,5) } } { \"Q\" { (900000,1,1) "
                                                "(900000,2,5) } } }"),
                             Outcome::Fails, -1};
    hostileFiles << DataFile{
        writeFile(QStringLiteral("overflowing.data"), header + "{ \"V\" { (2000,1,1e999) (2000,2,5) } } }"),
        Outcome::Fails, -1};
    hostileFiles << DataFile{writeFile(QStringLiteral("huge-values.data"),
                                       header + "{ \"V\" { (2000,1,1e300) (2000,2,1e300) } } { \"W\" { "
                                                "(2000,1,1e300) (2000,3,1e-300) } } }"),
                             Outcome::Either, -1};
    hostileFiles << DataFile{dir.path(), Outcome::Fails, -1};
    hostileFiles << DataFile{dir.filePath(QStringLiteral("missing.data")), Outcome::Fails, -1};
}

QByteArray MonkeyXvfbTest::randomGoodFile(int* seriesCount) {
    *seriesCount = 1 + int(rng.bounded(6));
    QByteArray text =
        "[ \"u\", " + QByteArray(rng.bounded(2) ? "true" : "false") + " | \"\" \"k\" \"M\" ]\n{\n";
    for (int s = 0; s < *seriesCount; ++s) {
        text += "{ \"S" + QByteArray::number(s) + "\" { ";
        const int start = 2000 * 12 + int(rng.bounded(36));
        const int length = 2 + int(rng.bounded(30));
        for (int m = 0; m < length; m += 1 + int(rng.bounded(3))) {
            const int month = start + m;
            text += pointText(month / 12, month % 12 + 1, rng.bounded(2) ? 0.0 : rng.bounded(5000.0));
        }
        // The last month always appears, so every series has two points in different months.
        const int last = start + length;
        text += pointText(last / 12, last % 12 + 1, rng.bounded(100.0));
        text += "} }\n";
    }
    return text + "}\n";
}

StackedGraphWidget* MonkeyXvfbTest::someGraph() {
    StackedGraphWidget* compare = window->centralWidget->compareGraph;
    if (compare->isVisible() && rng.bounded(2))
        return compare;
    return window->centralWidget->mainGraph;
}

QWidget* MonkeyXvfbTest::someViewport() {
    return someGraph()->stackedGraph->view->viewport();
}

QPoint MonkeyXvfbTest::somePoint(const QWidget* widget) {
    return QPoint(int(rng.bounded(qMax(1, widget->width()))), int(rng.bounded(qMax(1, widget->height()))));
}

QString MonkeyXvfbTest::changeCombo() {
    StackedGraphWidget* graph = someGraph();
    QComboBox* boxes[] = {graph->baselineBox, graph->sortBox, graph->colorBox, graph->colorSchemeBox};
    QComboBox* box = boxes[rng.bounded(4)];
    switch (rng.bounded(3)) {
    case 0:
        QTest::keyClick(box, Qt::Key_Down);
        return QStringLiteral("key down on a combo box");
    case 1:
        QTest::keyClick(box, Qt::Key_Up);
        return QStringLiteral("key up on a combo box");
    default:
        box->setCurrentIndex(int(rng.bounded(box->count())));
        return QStringLiteral("combo box index %1").arg(box->currentIndex());
    }
}

QString MonkeyXvfbTest::pickColor() {
    StackedGraphWidget* graph = someGraph();
    ColorPushButton* button = rng.bounded(2) ? graph->colorButton1 : graph->colorButton2;
    // One answer in four is a cancelled dialog.
    dialogs->colorAnswer = rng.bounded(4) == 0
                               ? QColor()
                               : QColor::fromRgb(rng.bounded(256), rng.bounded(256), rng.bounded(256));
    const QColor before = button->color();
    QTest::mouseClick(button, Qt::LeftButton);
    const QColor expected = dialogs->colorAnswer.isValid() ? dialogs->colorAnswer : before;
    if (button->color() != expected)
        return QStringLiteral("FAIL: the colour button shows %1, not %2")
            .arg(button->color().name(), expected.name());
    if (dialogs->colorAnswer.isValid() && graph->colorSchemeBox->currentIndex() != 0)
        return QStringLiteral("FAIL: a picked colour left the scheme box at a preset");
    return QStringLiteral("colour %1").arg(expected.name());
}

QString MonkeyXvfbTest::choosePreset() {
    StackedGraphWidget* graph = someGraph();
    const int index = 1 + int(rng.bounded(colorSchemePresets().size()));
    graph->colorSchemeBox->setCurrentIndex(index);
    const ColorSchemePreset& preset = colorSchemePresets()[index - 1];
    if (graph->colorButton1->color() != preset.maxColor || graph->colorButton2->color() != preset.minColor)
        return QStringLiteral("FAIL: preset %1 did not set its colours").arg(preset.name);
    return QStringLiteral("preset %1").arg(preset.name);
}

QString MonkeyXvfbTest::dragSlider() {
    StackedGraphWidget* graph = someGraph();
    QSlider* slider = graph->xRangeSlider;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.upsideDown =
        slider->orientation() == Qt::Vertical ? !slider->invertedAppearance() : slider->invertedAppearance();
    option.subControls = QStyle::SC_All;
    const QRect handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    QPoint position = handle.center();
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, position);
    const bool held = slider->isSliderDown();
    heldSliders += held ? 1 : 0;
    const int moves = int(rng.bounded(4));
    QTimer* timer = graph->xRangeSliderTimer;
    QStringList widths;
    for (int i = 0; i < moves; ++i) {
        position.ry() += int(rng.bounded(121)) - 60;
        QTest::mouseMove(slider, position);
        // Now and then the 50 ms timer applies the value. Its tick is sent here rather than
        // waited for, so that a seed replays the same whatever the machine's speed.
        if (rng.bounded(2) && timer->isActive()) {
            QTimerEvent tick(timer->timerId());
            QCoreApplication::sendEvent(timer, &tick);
            if (graph->stackedGraph->xRange != slider->value())
                return QStringLiteral("FAIL: a tick of the slider's timer left the graph width at %1, not %2")
                    .arg(graph->stackedGraph->xRange)
                    .arg(slider->value());
        }
        widths << QString::number(graph->stackedGraph->xRange);
    }
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, position);
    if (slider->isSliderDown())
        return QStringLiteral("FAIL: the slider is still down after the release");
    if (graph->stackedGraph->xRange != slider->value())
        return QStringLiteral("FAIL: the graph width %1 is not the slider's %2")
            .arg(graph->stackedGraph->xRange)
            .arg(slider->value());
    return QStringLiteral("slider drag (%1, widths %2) to %3")
        .arg(held ? QStringLiteral("held") : QStringLiteral("missed"), widths.join(QLatin1Char(' ')))
        .arg(slider->value());
}

QString MonkeyXvfbTest::nudgeSlider() {
    QSlider* slider = someGraph()->xRangeSlider;
    const Qt::Key keys[] = {Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Up,
                            Qt::Key_Down,   Qt::Key_Home,     Qt::Key_End};
    QTest::keyClick(slider, keys[rng.bounded(6)]);
    return QStringLiteral("slider key to %1").arg(slider->value());
}

QString MonkeyXvfbTest::wheel() {
    QWidget* viewport = someViewport();
    const QPointF pos = somePoint(viewport);
    const int delta = (int(rng.bounded(6)) - 3) * 120 + (rng.bounded(4) == 0 ? int(rng.bounded(61)) - 30 : 0);
    const bool horizontal = rng.bounded(8) == 0;
    sendWheel(viewport, horizontal ? QPoint(delta, 0) : QPoint(0, delta), pos);
    return QStringLiteral("wheel %1%2")
        .arg(delta)
        .arg(horizontal ? QStringLiteral(" horizontal") : QString());
}

QString MonkeyXvfbTest::rightClick() {
    QWidget* viewport = someViewport();
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, somePoint(viewport));
    return QStringLiteral("right click");
}

QString MonkeyXvfbTest::middleClick() {
    QWidget* viewport = someViewport();
    QTest::mouseClick(viewport, Qt::MiddleButton, Qt::NoModifier, somePoint(viewport));
    return QStringLiteral("middle click");
}

QString MonkeyXvfbTest::panView() {
    QWidget* viewport = someViewport();
    QPoint position = somePoint(viewport);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, position);
    for (int i = 0; i < 3; ++i) {
        position += QPoint(int(rng.bounded(81)) - 40, int(rng.bounded(81)) - 40);
        QTest::mouseMove(viewport, position);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, position);
    return QStringLiteral("pan");
}

QString MonkeyXvfbTest::toggle() {
    const char* names[] = {"Compare Graph", "Detailed Information", "Auto OpenGL",
                           "OpenGL",        "Fit Labels",           "Time Axis",
                           "Readout",       "Series List",          "Fill Window"};
    const char* name = names[rng.bounded(9)];
    QAction* entry = action(*window, QString::fromLatin1(name));
    entry->trigger();
    if (qstrcmp(name, "Compare Graph") == 0 &&
        window->centralWidget->compareGraph->isVisible() != entry->isChecked())
        return QStringLiteral("FAIL: the compare graph does not follow its menu entry");
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(name),
                                       entry->isChecked() ? QStringLiteral("on") : QStringLiteral("off"));
}

QString MonkeyXvfbTest::load(const DataFile& file) {
    using Outcome = DataFile::Outcome;
    const DataSnapshot before(*window);
    const qsizetype warnings = dialogs->warnings.size();
    dialogs->openAnswer = file.path;
    action(*window, QStringLiteral("Load Data"))->trigger();
    const bool failed = dialogs->warnings.size() > warnings;
    const QString shown =
        QStringLiteral("load %1 (%2)")
            .arg(shortPath(file.path), failed ? QStringLiteral("failed") : QStringLiteral("loaded"));
    if (failed) {
        ++failedLoads;
        if (file.outcome == Outcome::Loads)
            return QStringLiteral("FAIL: %1: %2").arg(shown, dialogs->warnings.last());
        const QString difference = before.differenceTo(DataSnapshot(*window));
        if (!difference.isEmpty())
            return QStringLiteral("FAIL: %1 lost the data loaded before: %2").arg(shown, difference);
        return shown;
    }
    if (file.outcome == Outcome::Fails)
        return QStringLiteral("FAIL: %1 should have been refused").arg(shown);
    const CentralWidget& central = *window->centralWidget;
    const QString broken = invariantFault(
        DataSet{central.series, central.unitText, central.unitAfterValue, central.magnitudeSuffixes});
    if (!broken.isEmpty())
        return QStringLiteral("FAIL: %1: %2").arg(shown, broken);
    const int seriesCount = int(window->centralWidget->series.size());
    if (file.series >= 0 && seriesCount != file.series)
        return QStringLiteral("FAIL: %1 gave %2 series, not %3").arg(shown).arg(seriesCount).arg(file.series);
    for (StackedGraphWidget* graph : {window->centralWidget->mainGraph, window->centralWidget->compareGraph})
        if (drawnLayers(graph) != seriesCount)
            return QStringLiteral("FAIL: %1: a graph shows %2 layers for %3 series")
                .arg(shown)
                .arg(drawnLayers(graph))
                .arg(seriesCount);
    const QString title = QStringLiteral("Stacked Graph (%1)").arg(MainWindow::shortName(file.path));
    if (window->windowTitle() != title)
        return QStringLiteral("FAIL: %1 titled the window %2").arg(shown, window->windowTitle());
    return shown;
}

QString MonkeyXvfbTest::loadGood() {
    if (rng.bounded(2) == 0) {
        int seriesCount = 0;
        const QByteArray text = randomGoodFile(&seriesCount);
        const QString path = writeFile(QStringLiteral("random-%1.data").arg(generatedFiles++ % 4), text);
        return load(DataFile{path, DataFile::Outcome::Loads, seriesCount});
    }
    return load(goodFiles[rng.bounded(goodFiles.size())]);
}

QString MonkeyXvfbTest::loadHostile() {
    return load(hostileFiles[rng.bounded(hostileFiles.size())]);
}

QString MonkeyXvfbTest::exportImage() {
    StackedGraphWidget* graph = someGraph();
    graph->imageSizeBox->setCurrentIndex(int(rng.bounded(2)));
    if (rng.bounded(2))
        QTest::mouseClick(graph->transparencyBox, Qt::LeftButton);
    const QSize size = ImageSize::forChoice(graph->imageSizeBox->currentIndex(), graph->xRangeSlider->value(),
                                            int(graph->stackedGraph->graphHeight));
    if (qint64(size.width()) * size.height() > maxExportPixels)
        return QStringLiteral("export skipped, %1 too large").arg(ImageSize::text(size));

    enum class Place { Good, MissingDirectory, Directory, Cancelled };
    const Place place = Place(rng.bounded(4));
    QString target;
    switch (place) {
    case Place::Good:
        target = dir.filePath(QStringLiteral("export-%1.png").arg(exports++ % 3));
        QFile::remove(target);
        break;
    case Place::MissingDirectory:
        target = dir.filePath(QStringLiteral("no/such/dir/export.png"));
        break;
    case Place::Directory:
        target = dir.path();
        break;
    case Place::Cancelled:
        break;
    }
    dialogs->saveAnswer = target;
    const qsizetype warnings = dialogs->warnings.size();
    QPushButton* button = nullptr;
    for (QPushButton* candidate : graph->findChildren<QPushButton*>())
        if (candidate->text() == QLatin1String("Export Graph to Image"))
            button = candidate;
    if (!button)
        return QStringLiteral("FAIL: no export button");
    QTest::mouseClick(button, Qt::LeftButton);
    const bool warned = dialogs->warnings.size() > warnings;
    const QString shown = QStringLiteral("export %1 to %2").arg(ImageSize::text(size), shortPath(target));
    const bool possible = !size.isEmpty();
    switch (place) {
    case Place::Good: {
        if (possible == warned)
            return QStringLiteral("FAIL: %1 %2 a warning")
                .arg(shown, warned ? QStringLiteral("gave") : QStringLiteral("gave no"));
        if (!possible)
            return shown;
        QImageReader reader(target);
        // While the time axis is on, its rows come below the graph's.
        const bool axis = graph->stackedGraph->view->timeAxis && graph->stackedGraph->layout().drawable;
        const QSize written = size + QSize(0, axis ? TimeAxisFooter::rows() : 0);
        if (reader.format() != "png" || reader.size() != written)
            return QStringLiteral("FAIL: %1 wrote no %2 PNG").arg(shown, ImageSize::text(written));
        return shown;
    }
    case Place::MissingDirectory:
    case Place::Directory:
        if (!warned)
            return QStringLiteral("FAIL: %1 failed without a warning").arg(shown);
        return shown;
    case Place::Cancelled:
        if (warned)
            return QStringLiteral("FAIL: a cancelled export warned");
        return QStringLiteral("export cancelled");
    }
    return shown;
}

QString MonkeyXvfbTest::showAbout() {
    action(*window, QStringLiteral("About"))->trigger();
    return QStringLiteral("about");
}

void MonkeyXvfbTest::runMonkey(quint32 seed, int events, Pace pace, QStringList* log) {
    qInfo("monkey seed %u, %d events", seed, events);
    rng.seed(seed);
    generatedFiles = exports = heldSliders = failedLoads = 0;
    prepareFiles();
    FakeDialogs fakeDialogs;
    dialogs = &fakeDialogs;
    MainWindow mainWindow;
    window = &mainWindow;
    mainWindow.resize(900, 640);
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));

    QVector<Kind> kinds = {
        {"combo", 14, [this] { return changeCombo(); }},
        {"colour", 6, [this] { return pickColor(); }},
        {"preset", 5, [this] { return choosePreset(); }},
        {"slider drag", 5, [this] { return dragSlider(); }},
        {"slider key", 4, [this] { return nudgeSlider(); }},
        {"wheel", 16, [this] { return wheel(); }},
        {"right click", 8, [this] { return rightClick(); }},
        {"middle click", 5, [this] { return middleClick(); }},
        {"pan", 5, [this] { return panView(); }},
        {"toggle", 10, [this] { return toggle(); }},
        {"good load", 6, [this] { return loadGood(); }},
        {"hostile load", 6, [this] { return loadHostile(); }},
        {"export", 5, [this] { return exportImage(); }},
        {"about", 1, [this] { return showAbout(); }},
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
        const QString done = kind->step();
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
        *log << QStringLiteral("%1: %2 | %3").arg(event).arg(done, state());
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
          seed, events, clock.elapsed(), qPrintable(counts.join(QStringLiteral(", "))), failedLoads,
          heldSliders, digest.left(16).constData());

    // The window still answers: the example loads into both graphs.
    const QString last = load(goodFiles.first());
    QVERIFY2(!last.startsWith(QLatin1String("FAIL")), qPrintable(last));
    QCOMPARE(drawnLayers(mainWindow.centralWidget->mainGraph), qsizetype(exampleLayers));
    QCOMPARE(drawnLayers(mainWindow.centralWidget->compareGraph), qsizetype(exampleLayers));
    QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Stacked Graph (unemployment-by-industry)"));
    QTest::qWait(50);
    window = nullptr;
    dialogs = nullptr;
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
