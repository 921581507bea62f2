// Where the program's own data lives (Template/, help/, Quillory.skn), for
// the desktop program and quillory-tool alike.
#pragma once

#include <string>

namespace quillory {

// The executable's folder in a build tree; <prefix>/share/quillory when the
// program is installed (the executable's folder then holds no "Template").
std::string ProgramFolderOf(const std::string& executableFolder);

}  // namespace quillory
