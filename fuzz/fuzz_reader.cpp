#include "ReaderInvariants.h"
#include "data/DataFileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!keepsInvariants(DataFileReader::readBytes(bytes)))
        std::abort();
    return 0;
}
