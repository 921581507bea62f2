#include "core/generation/targeted_choices.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/common/text.h"
#include "core/generation/paper_choices.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

PaperNodeList KnowledgeTree(DataStore& store) {
    PaperNodeList tree;
    if (const auto rows = ReadKnowledgeRows(store)) {
        for (const KnowledgeRow& row : *rows) {
            tree.Add({row.ID, row.SuperiorID, row.Title});
        }
        tree.Order();
    }
    return tree;
}

std::vector<std::string> KnowledgeSetBelow(const PaperNodeList& tree, int knowledgeId) {
    std::vector<std::string> set;
    if (tree.IndexOf(knowledgeId) < 0) {
        return set;
    }
    // In tree order every node follows its parent, so a node's children are
    // the later nodes that name it, in order.
    std::vector<size_t> stack{static_cast<size_t>(tree.IndexOf(knowledgeId))};
    while (!stack.empty()) {
        const size_t at = stack.back();
        stack.pop_back();
        set.push_back(Format("%d", tree[at].id));
        for (size_t child = at + 1; child < tree.Size(); ++child) {
            if (tree[child].superiorId == tree[at].id) {
                stack.push_back(child);
            }
        }
    }
    return set;
}

std::string TargetedCountQuery(int typeId, const std::vector<std::string>& knowledgeSet) {
    std::string query =
        Format("select count(*) as question_count from Question where TypeID=%d", typeId);
    for (size_t k = 0; k < knowledgeSet.size(); ++k) {
        query += (k == 0 ? " and ((Knowledge like '*" : " or (Knowledge like '*") +
                 knowledgeSet[k] + "*')";
    }
    if (!knowledgeSet.empty()) {
        query += ")";
    }
    return query;
}

TypeCountStatus CountTargetedQuestions(DataStore& store,
                                       const std::vector<std::string>& knowledgeSet,
                                       std::vector<TypeCount>& counts) {
    counts.clear();
    auto types = store.Query("select * from QuestionType order by ID");
    if (!types) {
        return TypeCountStatus::TypesUnreadable;
    }
    for (; !types->AtEnd(); types->Next()) {
        counts.push_back({types->Int("ID"), types->Text("Title"), 0});
    }
    if (types->Failed()) {
        return TypeCountStatus::TypesUnreadable;
    }
    for (TypeCount& type : counts) {
        auto count = store.Query(TargetedCountQuery(type.typeId, knowledgeSet));
        if (!count || count->AtEnd()) {
            return TypeCountStatus::SetTooLarge;
        }
        type.count = count->Int("question_count");
    }
    return TypeCountStatus::Ok;
}

namespace {

std::string RangePrompt(int low, int high) {
    return Format("请输入一个介于 %d 和 %d 之间的整数。", low, high);
}

TargetedCheck CheckCountRange(int count) {
    if (count < 1 || count > 100) {
        return {RangePrompt(1, 100), TargetedField::Count};
    }
    return {};
}

TargetedCheck CheckScoreRange(double score) {
    const double whole = std::trunc(score);
    if (!(whole >= 0 && whole <= 100)) {
        return {RangePrompt(0, 100), TargetedField::Score};
    }
    return {};
}

// The whole text, blanks around it aside, read as a number with an optional
// sign; false when anything else is there.
template <typename Number>
bool ReadWhole(std::string_view text, Number& value) {
    const std::string trimmed = Trim(text);
    std::string_view digits = trimmed;
    if (StartsWith(digits, "+")) {
        digits.remove_prefix(1);
        if (StartsWith(digits, "-")) {
            return false;
        }
    }
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    return !digits.empty() && error == std::errc() && stop == end;
}

}  // namespace

TargetedNumbers ReadTargetedNumbers(std::string_view countText, std::string_view scoreText) {
    TargetedNumbers numbers;
    if (!ReadWhole(countText, numbers.count)) {
        numbers.check = {"请输入一个整数。", TargetedField::Count};
        return numbers;
    }
    numbers.check = CheckCountRange(numbers.count);
    if (!numbers.check.message.empty()) {
        return numbers;
    }
    if (!ReadWhole(scoreText, numbers.score) || !std::isfinite(numbers.score)) {
        numbers.check = {"请输入一个数字。", TargetedField::Score};
        return numbers;
    }
    numbers.check = CheckScoreRange(numbers.score);
    return numbers;
}

int ChosenTypeCount(const std::vector<TypeCount>& counts, std::optional<int> chosenTypeId) {
    for (const TypeCount& type : counts) {
        if (chosenTypeId == type.typeId) {
            return type.count;
        }
    }
    return -1;
}

TargetedCheck CheckTargetedChoice(const std::string& title, int typeCount, int count,
                                  double score) {
    if (TargetedCheck range = CheckCountRange(count); !range.message.empty()) {
        return range;
    }
    if (TargetedCheck range = CheckScoreRange(score); !range.message.empty()) {
        return range;
    }
    if (PaperTitleFromEntry(title).empty()) {
        return {"请输入试卷标题！", TargetedField::Title};
    }
    if (typeCount < 0) {
        return {"请选择试题类型！", TargetedField::Type};
    }
    if (typeCount < count) {
        return {"试题数量超出总题数！", TargetedField::Count};
    }
    return {};
}

}  // namespace quillory
