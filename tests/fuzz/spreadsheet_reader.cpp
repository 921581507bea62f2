// Any bytes as a workbook: the first byte picks .xlsx, .ods or .csv.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/spreadsheet_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillory;
    if (size == 0) {
        return 0;
    }
    const SheetFormat formats[] = {SheetFormat::Xlsx, SheetFormat::Ods, SheetFormat::Csv};
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    ReadSpreadsheet(bytes, "fuzz", formats[data[0] % 3]);
    return 0;
}
