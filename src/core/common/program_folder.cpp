#include "core/common/program_folder.h"

#include <filesystem>

namespace quillory {

std::string ProgramFolderOf(const std::string& executableFolder) {
    const std::filesystem::path folder(executableFolder);
    std::error_code ec;
    if (std::filesystem::is_directory(folder / "Template", ec)) {
        return folder.string();
    }
    return (folder.parent_path() / "share" / "quillory").string();
}

}  // namespace quillory
