// A large synthetic bank for benchmarks: its size is what a heavy user's
// data file reaches after years of practice.
#pragma once

#include <string>

namespace quillory::bench {

struct BankSize {
    int papers = 300;  // each with 4 sections of 25 question items; every 15th a reference
    int questions = 20000;
    int knowledgePoints = 2000;  // a tree of three levels
    int historyRows = 200000;    // over 2025 and 2026
    int templates = 3;           // each with 4 sections of 25 question slots
    // false: every History row is an exam record of its own (the stress
    // case); true: the rows are the records of about 4,000 exams of 30-80
    // questions each on the bank's papers, a few a day, as a learner leaves.
    bool learner = false;
};

// The first template's ID; the others follow, 200 IDs apart.
inline constexpr int kFirstTemplateId = 400001;

// Writes the bank to path (which must not exist); false on failure.
bool MakeSyntheticBank(const std::string& path, const BankSize& size);

// Writes the pages the bank's rows name into the page folders of
// dataFolder; false on failure.
bool WriteSyntheticPages(const std::string& dataFolder, const BankSize& size);

// A data file made once per process in a temporary folder, removed at exit.
const std::string& SharedSyntheticBank();

}  // namespace quillory::bench
