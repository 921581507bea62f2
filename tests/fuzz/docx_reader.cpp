// Any bytes as a Word document.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/docx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillory::ReadDocx(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.docx");
    return 0;
}
