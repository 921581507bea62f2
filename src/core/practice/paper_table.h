// The whole Paper table, read once for a tree: the nodes (with their questionId)
// and the other values of each row by ID.
#pragma once

#include <optional>
#include <unordered_map>

#include "core/common/paper_node_list.h"

namespace quillory {

class DataStore;

struct PaperRowValues {
    float score = 0.0f;
    int timeLimit = 0;
    bool isSystem = false;
    bool isReference = false;
};

struct PaperTable {
    PaperNodeList nodes;  // in the order the table returns them
    std::unordered_map<int, PaperRowValues> values;

    // The node rootId and every node under it, in tree order.
    PaperNodeList Subtree(int rootId) const;
};

// Nothing on a database error.
std::optional<PaperTable> ReadPaperTable(DataStore& store);

}  // namespace quillory
