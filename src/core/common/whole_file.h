// Reading a file whole, without exceptions: a folder, a missing file and a
// read that fails half way are all answers the caller reports.
#pragma once

#include <string>

namespace quillory {

enum class FileRead {
    Read,
    CannotOpen,  // missing, not allowed, or no plain file (a folder)
    Failed,      // opened, but the read failed
};

struct WholeFile {
    FileRead result = FileRead::CannotOpen;
    std::string bytes;  // Read: the whole content
    int error = 0;      // otherwise: the errno value that says why
};

WholeFile ReadWholeFile(const std::string& path);

}  // namespace quillory
