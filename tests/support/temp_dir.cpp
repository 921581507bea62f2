#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quillory::testing {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillory-test-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr) << "cannot make a temporary folder";
    path_ = made ? made : pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {

std::unique_ptr<DataStore> Taken(Result<std::unique_ptr<DataStore>> store,
                                 const std::string& path) {
    if (!store) {
        ADD_FAILURE() << path << ": " << store.error().detail;
        return nullptr;
    }
    return std::move(*store);
}

}  // namespace

std::unique_ptr<DataStore> MakeDataFile(const std::string& path) {
    return Taken(DataStore::Create(path), path);
}

std::unique_ptr<DataStore> OpenDataStore(const std::string& path) {
    return Taken(DataStore::Open(path), path);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace quillory::testing
