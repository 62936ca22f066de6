#include "import/CsvReader.h"

#include "import/TableImport.h"
#include "table/CsvTable.h"

DataFileResult CsvReader::readBytes(const QByteArray& bytes, char delimiter, const ImportOptions& options) {
    return TableImport::run(CsvTable::read(bytes, delimiter, options.skipRows), options).data;
}
