// Writing small bank sources and page files for the bank tests.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace quillory::testing {

using FileList = std::vector<std::pair<std::string, std::string>>;

// Writes each (relative path, bytes) below root, making folders as needed.
inline void WriteFiles(const std::string& root, const FileList& files) {
    for (const auto& [relative, bytes] : files) {
        const std::filesystem::path path = std::filesystem::path(root) / relative;
        std::filesystem::create_directories(path.parent_path());
        WriteFileBytes(path.string(), bytes);
    }
}

}  // namespace quillory::testing
