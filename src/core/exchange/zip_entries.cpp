#include "core/exchange/zip_entries.h"

#include <zip.h>

namespace quillory {

void ZipEntries::Closer::operator()(zip* archive) const {
    zip_discard(archive);
}

Result<ZipEntries> ZipEntries::Open(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return Error{ErrorCode::DamagedFile, "cannot read the archive"};
    }
    // The consistency check compares every local header with the central
    // directory, so no reader can be led past the sizes checked here.
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        std::string detail = zip_error_strerror(&error);
        zip_source_free(source);
        zip_error_fini(&error);
        return Error{ErrorCode::DamagedFile, "not a sound zip archive: " + detail};
    }
    zip_error_fini(&error);
    return ZipEntries(archive);
}

bool ZipEntries::Has(const std::string& name) const {
    return zip_name_locate(archive_.get(), name.c_str(), 0) >= 0;
}

std::vector<std::string> ZipEntries::Names() const {
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        if (const char* name = zip_get_name(archive_.get(), static_cast<zip_uint64_t>(index), 0)) {
            names.emplace_back(name);
        }
    }
    return names;
}

Result<std::string> ZipEntries::Read(const std::string& name) {
    const zip_int64_t index = zip_name_locate(archive_.get(), name.c_str(), 0);
    if (index < 0) {
        return Error{ErrorCode::NotFound, "no entry " + name};
    }
    return ReadIndex(index, true);
}

Status ZipEntries::CheckAll() {
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        const Result<std::string> read = ReadIndex(index, false);
        if (!read) {
            return read.status();
        }
    }
    return {};
}

Result<std::string> ZipEntries::ReadIndex(long long index, bool keep) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        return Error{ErrorCode::DamagedFile, "unreadable entry"};
    }
    const std::string name = stat.valid & ZIP_STAT_NAME ? stat.name : "?";
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxZipEntryBytes ||
        unpacked_ + stat.size > kMaxZipTotalBytes) {
        return Error{ErrorCode::BadInput, name + " unpacks past the size limit"};
    }
    zip_file_t* file = zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        return Error{ErrorCode::DamagedFile, name + ": " + zip_strerror(archive_.get())};
    }
    std::string content;
    char buffer[65536];
    size_t total = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            std::string detail = zip_file_strerror(file);
            zip_fclose(file);
            return Error{ErrorCode::DamagedFile, name + ": " + detail};
        }
        if (n == 0) {
            break;
        }
        total += static_cast<size_t>(n);
        if (total > stat.size) {
            zip_fclose(file);
            return Error{ErrorCode::DamagedFile, name + " is longer than its header says"};
        }
        if (keep) {
            content.append(buffer, static_cast<size_t>(n));
        }
    }
    zip_fclose(file);
    unpacked_ += total;
    return content;
}

}  // namespace quillory
