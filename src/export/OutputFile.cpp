#include "export/OutputFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace {

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

} // namespace

bool OutputFile::write(const QString& fileName, const Writer& write, QString* error) {
    if (fileName.isEmpty()) {
        setError(error, QStringLiteral("Cannot write: no file name given."));
        return false;
    }
    QString reason;
    if (fileName == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || !write(out, &reason) || !out.flush()) {
            setError(error, QStringLiteral("Cannot write to standard output: %1")
                                .arg(reason.isEmpty() ? out.errorString() : reason));
            return false;
        }
        return true;
    }
    const QString shownName = QDir::toNativeSeparators(fileName);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("Cannot write \"%1\": %2").arg(shownName, file.errorString()));
        return false;
    }
    if (!write(file, &reason)) {
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
        file.cancelWriting();
        setError(error, QStringLiteral("Cannot write \"%1\": %2").arg(shownName, reason));
        return false;
    }
    if (!file.commit()) {
        setError(error, QStringLiteral("Cannot write \"%1\": %2").arg(shownName, file.errorString()));
        return false;
    }
    return true;
}

bool OutputFile::write(const QString& fileName, const QByteArray& bytes, QString* error) {
    return write(
        fileName,
        [&bytes](QIODevice& out, QString* reason) {
            if (out.write(bytes) == bytes.size())
                return true;
            *reason = out.errorString();
            return false;
        },
        error);
}
