// What the reader tests share: their files, and problems as lines to compare.
#pragma once

#include <string>
#include <vector>

#include "core/exchange/imported_question.h"
#include "support/temp_dir.h"

namespace quillory::testing {

// A file of tests/core/exchange/files (made by make_files.py there).
inline std::string ExchangeFile(const std::string& name) {
    return SourceFolder() + "/tests/core/exchange/files/" + name;
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
