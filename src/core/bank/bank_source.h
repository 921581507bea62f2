// Reading the table files of a bank source: UTF-8 text made of records
//
//     [Question 200101]
//     TypeID = 1
//     Answer <<
//     10,10,300,20,label,选择正确的一项:
//     >>
//
// into plain records, with the line each came from. Pure: no files, no
// database.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/bank/bank_tables.h"

namespace quillory {

struct BankError {
    std::string file;
    int line = 0;  // 0 when the problem belongs to no one line
    std::string message;

    // "file:line: message" ("file: message" without a line).
    std::string Text() const;
};

struct BankValue {
    const BankColumn* column = nullptr;
    // Text as given (a multi-line value joined with CR LF); a number as
    // written, checked; a boolean as "1" or "0".
    std::string text;
    int line = 0;
};

struct BankRecord {
    const BankTable* table = nullptr;
    int id = 0;
    std::string file;
    int line = 0;  // of the header
    std::vector<BankValue> values;
};

// Parses the text of one table file and appends its records. A record whose
// table and ID are already among the records (from this file or an earlier
// one) is an error. On the first problem returns false with it in *error;
// records then holds what came before it.
bool ParseBankText(std::string_view text, const std::string& fileName,
                   std::vector<BankRecord>& records, BankError* error);

}  // namespace quillory
