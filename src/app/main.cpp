#include "app/DisplayCheck.h"
#include "app/MainWindow.h"
#include "cli/CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QSplashScreen>
#include <QStringList>
#include <QTextStream>

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const bool batch = CommandLine::isBatch(argc, argv);
    // Without a display Qt would abort; say what works instead.
    if (!batch && DisplayCheck::displayMissing(argc, argv, DisplayCheck::Environment::current())) {
        std::fprintf(stderr, "%s\n", DisplayCheck::message());
        return 2;
    }
    if (!batch) {
        const QByteArray display = DisplayCheck::x11Display(argc, argv, DisplayCheck::Environment::current());
        if (!display.isEmpty() && !DisplayCheck::answers(display)) {
            std::fprintf(stderr, "%s\n", DisplayCheck::unreachableMessage(display).constData());
            return 2;
        }
    }
    // The batch modes render without any display.
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session (a build machine, a cron job) Qt falls back to its own runtime
    // directory but warns on every run; give it that directory quietly.
    if (batch && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray runtime =
            QDir::tempPath().toLocal8Bit() + "/runtime-" + QByteArray::number(getuid());
        if (::mkdir(runtime.constData(), 0700) == 0 || errno == EEXIST)
            qputenv("XDG_RUNTIME_DIR", runtime);
    }

    QCoreApplication::setApplicationName(QStringLiteral("stackedgraph"));
    QCoreApplication::setApplicationVersion(QStringLiteral(STACKEDGRAPH_VERSION));
    const auto runBatch = [] {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return CommandLine::run(QCoreApplication::arguments(), out, err);
    };
    // Summaries, tables, help and the version draw nothing: they start without a platform or fonts.
    if (batch && !CommandLine::usesFonts(argc, argv)) {
        QCoreApplication app(argc, argv);
        return runBatch();
    }

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral(STACKEDGRAPH_APP_ID));
    if (batch)
        return runBatch();

    app.setStyleSheet(QStringLiteral("QToolTip{opacity:200;}"));
    QPixmap pixmap(QStringLiteral("splash.png"));
    if (pixmap.isNull())
        pixmap.load(QStringLiteral(":/app/splash.png"));
    QSplashScreen splash(pixmap);
    splash.show();

    MainWindow window;
    QObject::connect(&window, &MainWindow::quitApp, &app, &QApplication::quit);
    window.showMaximized();
    splash.finish(&window);

    // A data file named on the command line is loaded as "Load Data" would.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty())
        window.loadFile(arguments.last());
    return app.exec();
}
