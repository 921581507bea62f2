// Any bytes as a Moodle XML file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/exchange/moodle_xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillory::ReadMoodleXml(std::string_view(reinterpret_cast<const char*>(data), size),
                            "fuzz.xml");
    return 0;
}
