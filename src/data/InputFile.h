#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole input file into memory, with a message naming the file when that fails.
class InputFile {
public:
    // False, with *error, when there is no name, the name is a directory, the file cannot be opened or
    // read, or it is larger than maxSize bytes.
    static bool readAll(const QString& fileName, qint64 maxSize, QByteArray* bytes, QString* error);
};
