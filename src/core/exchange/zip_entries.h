// The entries of a zip archive (.xlsx, .ods, .docx) read from memory with
// limits, so that a small hostile file cannot unpack into gigabytes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"

struct zip;

namespace quillory {

inline constexpr size_t kMaxZipEntryBytes = size_t{64} << 20;
inline constexpr size_t kMaxZipTotalBytes = size_t{256} << 20;

class ZipEntries {
public:
    // DamagedFile when bytes are not a sound zip archive. bytes must outlive
    // the object.
    static Result<ZipEntries> Open(std::string_view bytes);

    bool Has(const std::string& name) const;
    std::vector<std::string> Names() const;
    // The entry's content: NotFound, DamagedFile (bad data or checksum), or
    // BadInput when it or all entries read so far unpack past the limits.
    Result<std::string> Read(const std::string& name);
    // Unpacks every entry within the limits, for archives another library
    // reads after us.
    Status CheckAll();

private:
    struct Closer {
        void operator()(zip* archive) const;
    };
    explicit ZipEntries(zip* archive) : archive_(archive) {}
    Result<std::string> ReadIndex(long long index, bool keep);

    std::unique_ptr<zip, Closer> archive_;
    size_t unpacked_ = 0;
};

}  // namespace quillory
