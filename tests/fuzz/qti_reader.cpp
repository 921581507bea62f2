// Any bytes as a QTI content package, and the same bytes as the one item of
// a sound package: mutated archives seldom pass their checksums, so the
// item reader would hardly be reached otherwise.
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/exchange/qti_reader.h"

namespace {

constexpr std::string_view kManifest =
    "<manifest><resources><resource type=\"imsqti_item_xmlv2p1\" href=\"items/item.xml\"/>"
    "</resources></manifest>";

void Add(zip_t* archive, const char* name, std::string_view content) {
    zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_OVERWRITE);
    if (index >= 0) {
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
}

std::string PackageOf(std::string_view item) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(source);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    std::string bytes;
    if (archive) {
        Add(archive, "imsmanifest.xml", kManifest);
        Add(archive, "items/item.xml", item);
        Add(archive, "items/a.png", "\x89PNG");
        zip_close(archive);
        if (zip_source_open(source) == 0) {
            char buffer[65536];
            for (zip_int64_t n; (n = zip_source_read(source, buffer, sizeof buffer)) > 0;) {
                bytes.append(buffer, static_cast<size_t>(n));
            }
            zip_source_close(source);
        }
    }
    zip_source_free(source);
    zip_error_fini(&error);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    quillory::ReadQtiPackage(bytes, "fuzz.zip");
    quillory::ReadQtiPackage(PackageOf(bytes), "fuzz.zip");
    return 0;
}
