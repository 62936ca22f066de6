#include "import/CsvReader.h"

#include "data/InputFile.h"
#include "import/TableImport.h"
#include "table/CsvTable.h"

const QVector<QString>& CsvReader::magnitudeSuffixes() {
    return TableImport::magnitudeSuffixes();
}

DataFileResult CsvReader::readBytes(const QByteArray& bytes, char delimiter, const ImportOptions& options) {
    return TableImport::run(CsvTable::read(bytes, delimiter, options.skipRows), options).data;
}

DataFileResult CsvReader::readFile(const QString& fileName, char delimiter) {
    DataFileResult result;
    QByteArray bytes;
    if (!InputFile::readAll(fileName, DataFileReader::maxFileSize, &bytes, &result.error))
        return result;
    return readBytes(bytes, delimiter);
}
