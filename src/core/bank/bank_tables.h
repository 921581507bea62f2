// The tables a bank source fills, and the kind of each column, so that a
// source value can be checked before it is written.
#pragma once

#include <span>
#include <string_view>

namespace quillory {

enum class ColumnKind { Integer, Real, Boolean, Text };

struct BankColumn {
    const char* name;
    ColumnKind kind;
};

struct BankTable {
    const char* name;
    std::span<const BankColumn> columns;  // every column but ID
};

// Looked up among QuestionType, Knowledge, Question, Paper and PaperTemplate,
// the tables a bank holds (History and ConfigProduct belong to the learner and
// the product), without regard to case; null when there is none.
const BankTable* FindBankTable(std::string_view name);
const BankColumn* FindBankColumn(const BankTable& table, std::string_view name);

}  // namespace quillory
