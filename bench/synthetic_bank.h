// A large synthetic bank for benchmarks: its size is what a heavy user's
// data file reaches after years of practice.
#pragma once

#include <string>

namespace quillory::bench {

struct BankSize {
    int papers = 300;  // each with 4 sections of 25 question items
    int questions = 20000;
    int knowledgePoints = 1500;
    int historyRows = 100000;
};

// Writes the bank to path (which must not exist); false on failure.
bool MakeSyntheticBank(const std::string& path, const BankSize& size);

// A data file made once per process in a temporary folder, removed at exit.
const std::string& SharedSyntheticBank();

}  // namespace quillory::bench
