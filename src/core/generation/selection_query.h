// The filter of one question slot: the three ID lists cleaned, the candidate
// query built from them, and the key that names a selection unit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

struct SelectionFilter {
    std::vector<std::string> questionIds;
    std::vector<std::string> typeIds;
    std::vector<std::string> knowledgeIds;

    bool Empty() const { return questionIds.empty() && typeIds.empty() && knowledgeIds.empty(); }
};

// Each list split at ","; pieces of 5 characters or fewer dropped, the rest
// kept as written (untrimmed).
SelectionFilter CleanSelectionLists(std::string_view questionIds, std::string_view typeIds,
                                    std::string_view knowledgeIds);

// "select ID, GroupID, Knowledge from Question where ...": explicit IDs
// joined to the rest by or, types and knowledge points restricting each
// other by and. Empty for an empty filter.
std::string SelectionQueryText(const SelectionFilter& filter);

// The trimmed GroupID when grouping is on and it is longer than 12
// characters (two IDs or more), else the ID in decimal.
std::string UnitKey(int questionId, std::string_view groupId, bool useGroups);

}  // namespace quillory
