#include "core/practice/paper_table.h"

#include "core/store/data_store.h"

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
    auto rows = store.Query("select * from Paper");
    if (!rows) {
        return std::nullopt;
    }
    PaperTable table;
    for (; !rows->AtEnd(); rows->Next()) {
        const int id = rows->Int("ID");
        table.nodes.Add(
            {id, rows->Int("SuperiorID"), rows->Text("Title"), rows->Int("QuestionID")});
        table.values.try_emplace(id,
                                 PaperRowValues{rows->Single("Score"), rows->Int("TimeLimit"),
                                                rows->Bool("IsSystem"), rows->Bool("IsReference")});
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return table;
}

}  // namespace quillory
