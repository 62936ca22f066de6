#pragma once

#include <QAction>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

inline QString exampleDataFile() {
    return QStringLiteral(STACKEDGRAPH_SOURCE_DIR "/examples/unemployment-by-industry.data");
}

// Writes contents to name inside dir and returns the file's path.
inline QString writeTestFile(const QTemporaryDir& dir, const QString& name, const QByteArray& contents) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return path;
}

// The menu entry of a window with that text, or nullptr.
inline QAction* findAction(QWidget& window, const QString& text) {
    for (QAction* candidate : window.findChildren<QAction*>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}
