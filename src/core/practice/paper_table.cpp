#include "core/practice/paper_table.h"

#include "core/store/tables.h"

namespace quillory {

PaperNodeList PaperTable::Subtree(int rootId) const {
    PaperNodeList subtree;
    for (const PaperNode& node : nodes.Nodes()) {
        if (nodes.IsUnder(node.id, rootId)) {
            subtree.Add(node);
        }
    }
    subtree.Order();
    return subtree;
}

std::optional<PaperTable> ReadPaperTable(DataStore& store) {
    const std::optional<std::vector<PaperRow>> rows = ReadPaperRows(store);
    if (!rows) {
        return std::nullopt;
    }
    PaperTable table;
    for (const PaperRow& row : *rows) {
        table.nodes.Add({.id = row.ID,
                         .superiorId = row.SuperiorID,
                         .title = row.Title,
                         .questionId = row.QuestionID});
        table.values.try_emplace(
            row.ID, PaperRowValues{row.Score, row.TimeLimit, row.IsSystem, row.IsReference});
    }
    return table;
}

}  // namespace quillory
