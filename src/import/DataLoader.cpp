#include "import/DataLoader.h"

#include "data/InputFile.h"
#include "table/CsvTable.h"
#include "table/JsonTable.h"

namespace {

bool endsWith(const QString& fileName, const char* extension) {
    return fileName.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

} // namespace

bool DataLoader::isTable(const QString& fileName) {
    return endsWith(fileName, ".csv") || endsWith(fileName, ".tsv") || endsWith(fileName, ".json");
}

SourceTable DataLoader::readTable(const QString& fileName, const ImportOptions& options) {
    SourceTable source;
    if (!isTable(fileName)) {
        source.error = QStringLiteral("\"%1\" is not named as a table (.csv, .tsv or .json).").arg(fileName);
        return source;
    }
    QByteArray bytes;
    if (!InputFile::readAll(fileName, DataFileReader::maxFileSize, &bytes, &source.error))
        return source;
    if (endsWith(fileName, ".json"))
        return JsonTable::read(bytes);
    return CsvTable::read(bytes, endsWith(fileName, ".tsv") ? '\t' : ',', options.skipRows);
}

ImportResult DataLoader::read(const QString& fileName, const ImportOptions& options) {
    if (!isTable(fileName)) {
        ImportResult result;
        result.data = DataFileReader::readFile(fileName);
        return result;
    }
    return TableImport::run(readTable(fileName, options), options);
}

DataFileResult DataLoader::readFile(const QString& fileName, const ImportOptions& options) {
    return read(fileName, options).data;
}
