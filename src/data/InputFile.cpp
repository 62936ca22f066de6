#include "data/InputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool InputFile::readAll(const QString& fileName, qint64 maxSize, QByteArray* bytes, QString* error) {
    const QString shown = QDir::toNativeSeparators(fileName);
    if (fileName.isEmpty()) {
        *error = QStringLiteral("No file name was given.");
        return false;
    }
    if (QFileInfo(fileName).isDir()) {
        *error = QStringLiteral("Cannot read \"%1\": it is a directory.").arg(shown);
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot open \"%1\": %2.").arg(shown, file.errorString());
        return false;
    }
    if (file.size() > maxSize) {
        *error = QStringLiteral("Cannot read \"%1\": the file is larger than %2 bytes.")
                     .arg(shown, QString::number(maxSize));
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read \"%1\": %2.").arg(shown, file.errorString());
        return false;
    }
    return true;
}
