#include "app/DisplayCheck.h"

#include <QProcess>
#include <QTest>

#include <vector>

namespace {

// The arguments as main() gets them: the program's name first.
class Arguments {
public:
    explicit Arguments(const QStringList& arguments) {
        bytes.push_back("stackedgraph");
        for (const QString& argument : arguments)
            bytes.push_back(argument.toLocal8Bit());
        for (const QByteArray& argument : bytes)
            pointers.push_back(argument.constData());
    }
    int count() const { return int(pointers.size()); }
    const char* const* values() const { return pointers.data(); }

private:
    std::vector<QByteArray> bytes;
    std::vector<const char*> pointers;
};

} // namespace

class DisplayCheckTest : public QObject {
    Q_OBJECT
private slots:
    void displayMissing_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<bool>("missing");
        const QStringList none;
        const QStringList xcb = {QStringLiteral("-platform"), QStringLiteral("xcb")};
        QTest::newRow("default, nothing") << none << QByteArray() << QByteArray() << QByteArray() << true;
        QTest::newRow("default, X11") << none << QByteArray() << QByteArray(":0") << QByteArray() << false;
        QTest::newRow("default, Wayland")
            << none << QByteArray() << QByteArray() << QByteArray("wayland-0") << false;
        QTest::newRow("xcb, nothing") << none << QByteArray("xcb") << QByteArray() << QByteArray() << true;
        QTest::newRow("xcb, only Wayland")
            << none << QByteArray("xcb") << QByteArray() << QByteArray("wayland-0") << true;
        QTest::newRow("offscreen") << none << QByteArray("offscreen") << QByteArray() << QByteArray()
                                   << false;
        QTest::newRow("Wayland left to Qt")
            << none << QByteArray("wayland;xcb") << QByteArray() << QByteArray() << false;
        QTest::newRow("argument beats offscreen")
            << xcb << QByteArray("offscreen") << QByteArray() << QByteArray() << true;
        QTest::newRow("argument with X11")
            << xcb << QByteArray() << QByteArray(":0") << QByteArray() << false;
        QTest::newRow("double dash") << QStringList{QStringLiteral("--platform"), QStringLiteral("xcb")}
                                     << QByteArray("offscreen") << QByteArray() << QByteArray() << true;
        QTest::newRow("offscreen argument beats xcb")
            << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("f.data")}
            << QByteArray("xcb") << QByteArray() << QByteArray() << false;
        QTest::newRow("display argument") << QStringList{QStringLiteral("-display"), QStringLiteral(":3")}
                                          << QByteArray("xcb") << QByteArray() << QByteArray() << false;
    }
    void displayMissing() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, missing);
        const Arguments argv(arguments);
        QCOMPARE(DisplayCheck::displayMissing(argv.count(), argv.values(), {platform, display, wayland}),
                 missing);
    }

    // The display asked for an answer: X11's, only where the window would use X11 alone.
    void x11Display_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("expected");
        const QStringList none;
        QTest::newRow("default") << none << QByteArray() << QByteArray() << QByteArray(":0");
        QTest::newRow("default in a Wayland session")
            << none << QByteArray() << QByteArray("w-0") << QByteArray();
        QTest::newRow("xcb with options")
            << none << QByteArray("xcb:x=1") << QByteArray("w-0") << QByteArray(":0");
        QTest::newRow("Wayland first") << none << QByteArray("wayland;xcb") << QByteArray() << QByteArray();
        QTest::newRow("offscreen") << none << QByteArray("offscreen") << QByteArray() << QByteArray();
        QTest::newRow("display argument") << QStringList{QStringLiteral("--display"), QStringLiteral(":7")}
                                          << QByteArray() << QByteArray() << QByteArray(":7");
    }
    void x11Display() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, expected);
        const Arguments argv(arguments);
        QCOMPARE(DisplayCheck::x11Display(argv.count(), argv.values(), {platform, ":0", wayland}), expected);
    }

    // The program itself says so in one line and exits 2, where Qt would abort: without a display, and
    // with one named that no server answers at.
    void programSaysSo_data() {
        QTest::addColumn<QByteArray>("display");
        QTest::newRow("no display") << QByteArray();
        QTest::newRow("nobody there") << QByteArray(":1729");
    }
    void programSaysSo() {
        QFETCH(QByteArray, display);
        if (!display.isEmpty() && DisplayCheck::answers(display))
            QSKIP("an X server answers at the display meant to be empty");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(STACKEDGRAPH_BINARY_DIR "/src/stackedgraph"),
                      {QStringLiteral("-platform"), QStringLiteral("xcb")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(process.readAllStandardError(),
                 (display.isEmpty() ? QByteArray(DisplayCheck::message())
                                    : DisplayCheck::unreachableMessage(display)) +
                     '\n');
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "tst_displaycheck.moc"
