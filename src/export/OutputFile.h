#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Writes what the user asked for to a file, or to standard output for "-". An existing file is
// replaced only by complete contents (QSaveFile): a failure leaves it as it was.
class OutputFile {
public:
    // Hands the open device to write, which returns false (with *reason) when it could not finish.
    using Writer = std::function<bool(QIODevice& out, QString* reason)>;

    // On failure *error names the file (or standard output) and the reason.
    static bool write(const QString& fileName, const Writer& write, QString* error);
    static bool write(const QString& fileName, const QByteArray& bytes, QString* error);
};
