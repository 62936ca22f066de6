#include "ReaderInvariants.h"
#include "import/CsvReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Every input is read twice, as CSV and as TSV.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char delimiter : {',', '\t'}) {
        const DataFileResult result = CsvReader::readBytes(bytes, delimiter);
        if (!keepsInvariants(result) || result.rowsRead < 0)
            std::abort();
    }
    return 0;
}
