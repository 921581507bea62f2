// What the reader tests share: their files, and problems as lines to compare.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
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

// The demo bank built into folder/demo.qly, open; null (with the failure
// reported) when it cannot be.
inline std::unique_ptr<DataStore> DemoBankIn(const std::string& folder) {
    const Status built =
        BuildBank(SourceFolder() + "/resources/demo", folder + "/demo.qly", ProgramFolder());
    EXPECT_TRUE(built) << built.error().detail;
    return built ? OpenDataStore(folder + "/demo.qly") : nullptr;
}

// "place text" of each problem or warning.
inline std::vector<std::string> Texts(const std::vector<ImportProblem>& problems) {
    std::vector<std::string> texts;
    for (const ImportProblem& p : problems) {
        texts.push_back(p.place.Text() + " " + p.text);
    }
    return texts;
}

}  // namespace quillory::testing
