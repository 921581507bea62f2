// What the reader tests share: their files, and problems as lines to compare.
#pragma once

#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/bank/bank_builder.h"
#include "core/exchange/imported_question.h"
#include "core/store/data_store.h"
#include "support/temp_dir.h"

namespace quillory::testing {

// A file of tests/core/exchange/files (made by make_files.py there).
inline std::string ExchangeFile(const std::string& name) {
    return SourceFolder() + "/tests/core/exchange/files/" + name;
}

// A zip archive of the given entries (name, content), as libzip writes it.
inline std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
    TempDir dir;
    const std::string path = dir.File("a.zip");
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    zip_close(archive);
    return ReadFileBytes(path);
}

// files/QTI试题包 zipped as an item bank exports it; its manifest lists an
// item the package lacks.
inline std::string QtiPackage() {
    const std::filesystem::path folder = ExchangeFile("QTI试题包");
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& file : std::filesystem::recursive_directory_iterator(folder)) {
        if (file.is_regular_file()) {
            entries.emplace_back(file.path().lexically_relative(folder).generic_string(),
                                 ReadFileBytes(file.path().string()));
        }
    }
    return ZipBytes(entries);
}

// The demo bank built into folder/demo.qly, open; null (with the failure
// reported) when it cannot be.
inline std::unique_ptr<DataStore> DemoBankIn(const std::string& folder) {
    const Status built =
        BuildBank(SourceFolder() + "/resources/demo", folder + "/demo.qly", ProgramFolder());
    EXPECT_TRUE(built) << built.error().detail;
    return built ? OpenDataStore(folder + "/demo.qly") : nullptr;
}

// A test on its own copy of the demo bank, in dir_'s folder "bank".
class DemoBankTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = dir_.File("bank");
        std::filesystem::create_directory(folder_);
        store_ = DemoBankIn(folder_);
        ASSERT_TRUE(store_);
    }

    TempDir dir_;
    std::string folder_;
    std::unique_ptr<DataStore> store_;
};

// "place text" of each problem or warning.
inline std::vector<std::string> Texts(const std::vector<ImportProblem>& problems) {
    std::vector<std::string> texts;
    for (const ImportProblem& p : problems) {
        texts.push_back(p.place.Text() + " " + p.text);
    }
    return texts;
}

}  // namespace quillory::testing
