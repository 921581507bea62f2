#include "core/common/local_path.h"

#include <algorithm>
#include <filesystem>

#include "core/common/text.h"

namespace quillory {

bool IsLocalPath(std::string_view location) {
    const std::string trimmed = Trim(location);
    return !trimmed.empty() && !StartsWithNoCase(trimmed, "http:") &&
           !StartsWithNoCase(trimmed, "https:") && !StartsWithNoCase(trimmed, "ftp:");
}

std::string ResolveLocalPath(const std::string& dataFolder, std::string_view location) {
    std::string relative = Trim(location);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return dataFolder + "/" + relative;
}

bool IsInsideFolder(const std::string& folder, const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path base = fs::path(folder).lexically_normal();
    const fs::path relative = fs::path(path).lexically_normal().lexically_relative(base);
    return !relative.empty() && *relative.begin() != ".." && *relative.begin() != ".";
}

}  // namespace quillory
