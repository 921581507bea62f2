// Any bytes as a GIFT file of questions.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/gift_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillory::ReadGift(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.gift");
    return 0;
}
