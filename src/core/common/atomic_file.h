// Replacing a small file so that a crash or a power cut at any moment
// leaves either the old content or the new one, never a mix or nothing.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Writes bytes to a temporary file beside path, flushes it to the disk and
// renames it over path. 0 on success, otherwise the errno value that says
// why; then path is as it was and no temporary file stays.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace quillory
