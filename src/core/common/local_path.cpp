#include "core/common/local_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/common/text.h"

namespace quillory {

std::string ResolvedPath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
    return ec ? std::string() : resolved.string();
}

bool LiesInFolder(const std::string& folder, const std::string& path) {
    namespace fs = std::filesystem;
    const std::string base = ResolvedPath(folder);
    const std::string resolved = ResolvedPath(path);
    if (base.empty() || resolved.empty()) {
        return false;
    }
    const fs::path relative = fs::path(resolved).lexically_relative(base);
    return !relative.empty() && *relative.begin() != ".." && *relative.begin() != ".";
}

bool IsLocalPath(std::string_view location) {
    const std::string trimmed = Trim(location);
    return !trimmed.empty() && !StartsWithNoCase(trimmed, "http:") &&
           !StartsWithNoCase(trimmed, "https:") && !StartsWithNoCase(trimmed, "ftp:");
}

PageLocation ResolveLocation(const std::string& dataFolder, std::string_view location) {
    PageLocation resolved;
    resolved.address = Trim(location);
    if (resolved.address.empty()) {
        return resolved;
    }
    if (!IsLocalPath(resolved.address)) {
        resolved.kind = LocationKind::Remote;
        return resolved;
    }
    std::string relative = resolved.address;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    resolved.path = dataFolder + "/" + relative;
    resolved.kind =
        LiesInFolder(dataFolder, resolved.path) ? LocationKind::Local : LocationKind::Outside;
    return resolved;
}

std::string LocationBeside(std::string_view pageLocation, std::string_view name) {
    const size_t slash = pageLocation.find_last_of("/\\");
    const std::string_view folder =
        slash == std::string_view::npos ? std::string_view() : pageLocation.substr(0, slash + 1);
    return std::string(folder) + std::string(name);
}

}  // namespace quillory
