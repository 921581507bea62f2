// The text of the shared file-error message, shown when a file that was
// opened cannot be read or written.
#pragma once

#include <string>

namespace quillory {

// "Open file " + fileName + ": " + the system's text for errorNumber (an
// errno value).
std::string FileErrorText(const std::string& fileName, int errorNumber);

}  // namespace quillory
