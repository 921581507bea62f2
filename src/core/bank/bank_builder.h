// Making a data file from a bank source folder: its table files (types.txt,
// knowledge.txt, questions.txt, papers.txt, templates.txt) and its page
// folders.
#pragma once

#include <string>
#include <vector>

#include "core/bank/bank_source.h"
#include "core/common/result.h"

namespace quillory {

// The table files of a bank source, in the order they are read.
inline constexpr const char* kBankTableFiles[] = {"types.txt", "knowledge.txt", "questions.txt",
                                                  "papers.txt", "templates.txt"};

// Parses the table files present in sourceFolder. BadInput ("file:line:
// message") on the first problem, or when the folder holds none of them;
// FileAccess for a file that cannot be read.
Result<std::vector<BankRecord>> ReadBankTables(const std::string& sourceFolder);

// Makes dataFile from the template in programFolder and fills it from
// sourceFolder: every record in one transaction, then the pages. Refuses an
// existing dataFile, and a page whose name is taken already in its folder
// (another bank's). Everything is read and checked before anything is
// written; the bank is made in a folder beside dataFile and moved into place
// only when all of it was made, never over an existing file, so a failure
// leaves the folder as it was, and the detail says why.
Status BuildBank(const std::string& sourceFolder, const std::string& dataFile,
                 const std::string& programFolder);

}  // namespace quillory
