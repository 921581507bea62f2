#include "core/bank/bank_tables.h"

#include "core/common/text.h"

namespace quillory {

namespace {

using enum ColumnKind;

constexpr BankColumn kQuestionTypeColumns[] = {{"Title", Text}};

constexpr BankColumn kKnowledgeColumns[] = {{"SuperiorID", Integer},
                                            {"Title", Text},
                                            {"Url", Text},
                                            {"KeyWord", Text},
                                            {"Weight", Integer}};

constexpr BankColumn kQuestionColumns[] = {
    {"TypeID", Integer}, {"Level", Integer},  {"Url", Text},     {"Answer", Text},
    {"AnswerUrl", Text}, {"Knowledge", Text}, {"KeyWord", Text}, {"GroupID", Text}};

constexpr BankColumn kPaperColumns[] = {
    {"SuperiorID", Integer}, {"QuestionID", Integer},  {"Score", Real},
    {"TimeLimit", Integer},  {"Title", Text},          {"Url", Text},
    {"IsQuestion", Boolean}, {"IsReference", Boolean}, {"IsSystem", Boolean}};

constexpr BankColumn kPaperTemplateColumns[] = {
    {"SuperiorID", Integer}, {"Title", Text},    {"IsQuestion", Boolean}, {"TimeLimit", Integer},
    {"ScoreMin", Real},      {"ScoreMax", Real}, {"QuestionID", Text},    {"QuestionTypeID", Text},
    {"KnowledgeID", Text},   {"Url", Text}};

constexpr BankTable kTables[] = {{"QuestionType", kQuestionTypeColumns},
                                 {"Knowledge", kKnowledgeColumns},
                                 {"Question", kQuestionColumns},
                                 {"Paper", kPaperColumns},
                                 {"PaperTemplate", kPaperTemplateColumns}};

}  // namespace

std::span<const BankTable> BankTables() {
    return kTables;
}

const BankTable* FindBankTable(std::string_view name) {
    for (const BankTable& table : kTables) {
        if (EqualsNoCase(table.name, name)) {
            return &table;
        }
    }
    return nullptr;
}

const BankColumn* FindBankColumn(const BankTable& table, std::string_view name) {
    for (const BankColumn& column : table.columns) {
        if (EqualsNoCase(column.name, name)) {
            return &column;
        }
    }
    return nullptr;
}

}  // namespace quillory
