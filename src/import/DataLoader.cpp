#include "import/DataLoader.h"

#include "import/CsvReader.h"

DataFileResult DataLoader::readFile(const QString& fileName) {
    if (fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return CsvReader::readFile(fileName, ',');
    if (fileName.endsWith(QLatin1String(".tsv"), Qt::CaseInsensitive))
        return CsvReader::readFile(fileName, '\t');
    return DataFileReader::readFile(fileName);
}
