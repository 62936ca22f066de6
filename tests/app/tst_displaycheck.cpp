#include "app/DisplayCheck.h"

#include <QProcess>
#include <QTest>

#include <vector>

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
    }
    void displayMissing() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, missing);
        std::vector<QByteArray> bytes = {QByteArray("stackedgraph")};
        for (const QString& argument : arguments)
            bytes.push_back(argument.toLocal8Bit());
        std::vector<const char*> argv;
        for (const QByteArray& argument : bytes)
            argv.push_back(argument.constData());
        QCOMPARE(DisplayCheck::displayMissing(int(argv.size()), argv.data(), {platform, display, wayland}),
                 missing);
    }

    // The program itself says so in one line and exits 2, where Qt would abort.
    void programSaysSo() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(STACKEDGRAPH_BINARY_DIR "/src/stackedgraph"),
                      {QStringLiteral("-platform"), QStringLiteral("xcb")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(process.readAllStandardError(), QByteArray(DisplayCheck::message()) + '\n');
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(DisplayCheckTest)
#include "tst_displaycheck.moc"
