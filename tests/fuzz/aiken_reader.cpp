// Any bytes as an Aiken file of questions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/aiken_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillory::ReadAiken(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.aiken");
    return 0;
}
