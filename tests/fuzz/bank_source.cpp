// Any text as a table file of a bank source.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/bank/bank_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillory;
    std::vector<BankRecord> records;
    BankError error;
    if (!ParseBankText(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt",
                       records, &error)) {
        error.Text();
    }
    return 0;
}
