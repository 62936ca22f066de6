#pragma once

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

// Runs the program itself, as a batch run from a shell does.
namespace ProgramRun {

inline const QString program = QStringLiteral(STACKEDGRAPH_BINARY_DIR "/src/stackedgraph");

inline const QByteArray workedExample = "[ \"EUR\", false | \"\" \" k\" \" M\" ]\n"
                                        "{\n"
                                        "  { \"Alpha\" { (2008,1,1500) (2008,2,2500.5) (2008,4,1000) } }\n"
                                        "  { \"Beta\"  { (2008,1,40), (2007,11,20) } }\n"
                                        "  { \"Gamma\" { (2008,3,7) } }\n"
                                        "}\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// platform: the Qt platform to ask for, when not the test's own.
inline Run run(const QStringList& arguments, const QString& platform = QString()) {
    QProcess process;
    if (!platform.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// The smallest rectangle holding every pixel that is not white.
inline QRect paintedArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace ProgramRun
