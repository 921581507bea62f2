// File names made from titles (print files, record pages) must stay in
// their folder whatever the title holds.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Replaces "/", "\", "*", "?", "\"", "<", ">", "|", ":" and control characters
// by "_"; a name that is empty, "." or ".." gets "_" characters instead, so
// the result is always one plain name inside its folder. Everything else
// (Chinese, spaces, other dots) is kept.
std::string SanitizeFileName(std::string_view name);

// folder + "/" + SanitizeFileName(name), with no second "/" when folder ends
// with one.
std::string FileInFolder(const std::string& folder, std::string_view name);

}  // namespace quillory
