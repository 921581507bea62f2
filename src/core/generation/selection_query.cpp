#include "core/generation/selection_query.h"

#include "core/common/text.h"

namespace quillory {

namespace {

std::vector<std::string> LongPieces(std::string_view list) {
    std::vector<std::string> pieces;
    for (std::string& piece : SplitString(list, ",")) {
        if (piece.size() > 5) {
            pieces.push_back(std::move(piece));
        }
    }
    return pieces;
}

}  // namespace

SelectionFilter CleanSelectionLists(std::string_view questionIds, std::string_view typeIds,
                                    std::string_view knowledgeIds) {
    return {LongPieces(questionIds), LongPieces(typeIds), LongPieces(knowledgeIds)};
}

std::string SelectionQueryText(const SelectionFilter& filter) {
    static const std::string kSelect = "select ID, GroupID, Knowledge from Question where ";
    std::string query;
    bool idsSeen = false;
    bool typesSeen = false;
    bool knowledgeSeen = false;
    for (const std::string& id : filter.questionIds) {
        if (query.empty()) {
            query = kSelect + "(ID=" + id;
            idsSeen = true;
        } else {
            query += " or ID=" + id;
        }
    }
    if (idsSeen) {
        query += ")";
    }
    for (const std::string& type : filter.typeIds) {
        if (!typesSeen) {
            query = idsSeen ? query + " or ((TypeID=" + type : kSelect + "((TypeID=" + type;
            typesSeen = true;
        } else {
            query += " or TypeID=" + type;
        }
    }
    if (typesSeen) {
        query += ")";
    }
    for (const std::string& point : filter.knowledgeIds) {
        const std::string like = "(Knowledge like '*" + point + "*')";
        if (!knowledgeSeen) {
            if (typesSeen) {
                query += " and (" + like;
            } else if (idsSeen) {
                query += " or (" + like;
            } else {
                query = kSelect + "(" + like;
            }
            knowledgeSeen = true;
        } else {
            query += " or " + like;
        }
    }
    if (knowledgeSeen) {
        query += ")";
    }
    if (typesSeen) {
        query += ")";
    }
    return query;
}

std::string UnitKey(int questionId, std::string_view groupId, bool useGroups) {
    if (useGroups) {
        std::string group = Trim(groupId);
        if (group.size() > 12) {
            return group;
        }
    }
    return Format("%d", questionId);
}

}  // namespace quillory
