// Any bytes as a marked text file of questions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/text_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillory::ReadTextFile(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt");
    return 0;
}
