// Page locations: local ones are relative to the data folder; "http:" and
// "ftp:" ones are handed to the browser unchanged.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Trimmed, not empty, and beginning neither with "http:" nor with "ftp:"
// (any case).
bool IsLocalPath(std::string_view location);

// dataFolder + "/" + the trimmed location, with any "\" read as "/" (banks
// made on Windows write them).
std::string ResolveLocalPath(const std::string& dataFolder, std::string_view location);

}  // namespace quillory
