#include "ReaderInvariants.h"
#include "import/CsvReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Every input is read twice, with a comma and with a tab as the separator the name suggests (the rows
// may choose another), and with options taken from its first byte, so that every rule and date order runs.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    ImportOptions options;
    if (size > 0) {
        options.aggregate = ImportOptions::Aggregate(data[0] % 6);
        options.dateOrder = ImportOptions::DateOrder(data[0] / 6 % 3);
        if (data[0] >= 240)
            options.seriesColumn = QLatin1String(ImportOptions::noColumn);
        else if (data[0] >= 220)
            options.skipRows = data[0] - 220;
    }
    for (const char delimiter : {',', '\t'}) {
        const DataFileResult result = CsvReader::readBytes(bytes, delimiter, options);
        if (!keepsInvariants(result) || result.rowsRead < 0)
            std::abort();
    }
    return 0;
}
