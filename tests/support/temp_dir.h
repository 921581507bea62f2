// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <memory>
#include <string>

#include "core/store/data_store.h"

namespace quillory::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A new, empty data file (schema and ConfigProduct row) at path.
std::unique_ptr<DataStore> MakeDataFile(const std::string& path);
// The data file at path, opened; null, failing the test, when it does not open.
std::unique_ptr<DataStore> OpenDataStore(const std::string& path);

// The whole content of a file, or "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The program data folder of the build tree (Template/ lives there).
inline std::string ProgramFolder() {
    return QUILLORY_DATA_DIR;
}
inline std::string SourceFolder() {
    return QUILLORY_SOURCE_DIR;
}

}  // namespace quillory::testing
