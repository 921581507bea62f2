// What the targeted-paper dialog and quillory-tool targeted share: the
// knowledge set below a point, the question count of each type in it, and
// the checks made on the learner's input.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/paper_node_list.h"

namespace quillory {

class DataStore;

// The knowledge points in the order of the knowledge tree, as the
// knowledge frame shows them; empty on a database error.
PaperNodeList KnowledgeTree(DataStore& store);

// The ID of knowledgeId and of every point below it ("%d"), taken from a
// last-in first-out stack that receives each point's children in tree order
// (so the last child's subtree comes first). Empty when the point is not in
// the tree.
std::vector<std::string> KnowledgeSetBelow(const PaperNodeList& tree, int knowledgeId);

struct TypeCount {
    int typeId = 0;
    std::string title;
    int count = 0;  // questions of the type that carry a point of the set

    bool operator==(const TypeCount&) const = default;
};

enum class TypeCountStatus {
    Ok,
    TypesUnreadable,  // the dialog closes as if cancelled, silently
    SetTooLarge,      // kSetTooLargeMessage, then closed as if cancelled
};

inline constexpr char kSetTooLargeMessage[] = "包含知识点过多，请选择子结点练习。";

// The question types by ID, each with its count over the knowledge set.
TypeCountStatus CountTargetedQuestions(DataStore& store,
                                       const std::vector<std::string>& knowledgeSet,
                                       std::vector<TypeCount>& counts);

// The question count of the type chosen: of the one offered with chosenTypeId,
// -1 (refused as no type chosen) when none has it or nothing is chosen.
int ChosenTypeCount(const std::vector<TypeCount>& counts, std::optional<int> chosenTypeId);

// The count statement of one type: every question when the set is empty.
std::string TargetedCountQuery(int typeId, const std::vector<std::string>& knowledgeSet);

enum class TargetedField { None, Title, Type, Count, Score };

struct TargetedCheck {
    std::string message;                        // "" when the input stands; exclamation icon
    TargetedField field = TargetedField::None;  // the control that gets the focus
};

// The dialog's two numbers as it reads its entries, in its order: the count
// (an integer, then within 1..100), then the score (a number, whose whole
// part lies within 0..100). The first that fails is refused, with the
// platform's standard prompt.
struct TargetedNumbers {
    TargetedCheck check;
    int count = 0;
    double score = 0.0;
};
TargetedNumbers ReadTargetedNumbers(std::string_view countText, std::string_view scoreText);

// The dialog's checks in its order: the count within 1..100, the score
// (truncated) within 0..100 (the range prompt), a blank title, no type
// chosen (typeCount < 0), more questions than the type has.
TargetedCheck CheckTargetedChoice(const std::string& title, int typeCount, int count, double score);

}  // namespace quillory
