// Any statement through the Jet to SQLite translation, and any value quoted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/store/jet_dialect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillory;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TranslateJetSql(input);
    TranslateJetSql("select * from Question where Title like '" + SqlQuote(input) + "'");
    return 0;
}
