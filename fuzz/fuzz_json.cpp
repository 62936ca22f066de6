#include "ReaderInvariants.h"
#include "import/TableImport.h"
#include "table/JsonTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// JSON records through the same column roles and binning as CSV, with a rule from the input's length.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    ImportOptions options;
    options.aggregate = ImportOptions::Aggregate(size % 6);
    const ImportResult result = TableImport::run(JsonTable::read(bytes), options);
    if (!keepsInvariants(result.data) || result.data.rowsRead < 0)
        std::abort();
    return 0;
}
