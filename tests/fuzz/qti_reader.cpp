// Any bytes as a QTI content package.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/qti_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillory::ReadQtiPackage(std::string_view(reinterpret_cast<const char*>(data), size),
                             "fuzz.zip");
    return 0;
}
