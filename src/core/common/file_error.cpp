#include "core/common/file_error.h"

#include <cstring>

namespace quillory {

std::string FileErrorText(const std::string& fileName, int errorNumber) {
    return "Open file " + fileName + ": " + std::strerror(errorNumber);
}

}  // namespace quillory
