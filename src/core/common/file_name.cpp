#include "core/common/file_name.h"

#include <cstring>

namespace quillory {

namespace {

// Characters no file name built from a title may hold: the separators and
// the characters other systems forbid (so a bank's files copy anywhere), and
// control characters, NUL among them, which would cut the name short.
bool IsForbidden(char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::strchr("/\\*?\"<>|:", c) != nullptr;
}

}  // namespace

std::string SanitizeFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return std::string(name.empty() ? 1 : name.size(), '_');
    }
    std::string result(name);
    for (char& c : result) {
        if (IsForbidden(c)) {
            c = '_';
        }
    }
    return result;
}

std::string FileInFolder(const std::string& folder, std::string_view name) {
    const bool hasSlash = !folder.empty() && folder.back() == '/';
    return folder + (hasSlash ? "" : "/") + SanitizeFileName(name);
}

}  // namespace quillory
