// The small banks under tests/banks, in the bank source format: each test
// that needs a whole bank names one, and the bank's source files say what
// it holds.
#pragma once

#include <string>

#include "support/temp_dir.h"

namespace quillory::testing {

inline std::string TestBanksFolder() {
    return SourceFolder() + "/tests/banks";
}

inline std::string TestBankSource(const std::string& name) {
    return TestBanksFolder() + "/" + name;
}

}  // namespace quillory::testing
