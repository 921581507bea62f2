// Page locations: local ones are relative to the data folder; "http:",
// "https:" and "ftp:" ones are handed to the browser unchanged.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Trimmed, not empty, and beginning with none of "http:", "https:" and
// "ftp:" (any case). "https:" counts as remote too: read as a folder under
// the data folder it could only ever name a missing file.
bool IsLocalPath(std::string_view location);

// dataFolder + "/" + the trimmed location, with any "\" read as "/" (banks
// made on Windows write them).
std::string ResolveLocalPath(const std::string& dataFolder, std::string_view location);

// Whether path, once "." and ".." are worked out, lies below folder.
bool IsInsideFolder(const std::string& folder, const std::string& path);

}  // namespace quillory
