#include "common/local_path.h"

#include <algorithm>

#include "common/text.h"

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

}  // namespace quillory
