// Loading the nodes and question items of an exam on any paper node (a whole
// paper, a section or one question item).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/paper_node_list.h"
#include "core/practice/exam_item.h"

namespace quillory {

class DataStore;

struct ExamPaper {
    PaperNodeList nodes;          // the node and its subtree in tree order, with questionIds
    std::vector<int> timeLimits;  // parallel to nodes
    std::vector<ExamItem> items;  // one per question node, in node order
    // The node whose question has no row: the load stopped there, and only
    // the nodes up to it are loaded.
    std::optional<int> missingQuestionNode;
    size_t loadedNodes = 0;  // all, unless a question was missing
};

// Nothing on a database error.
std::optional<ExamPaper> LoadExamPaper(DataStore& store, int nodeId);

}  // namespace quillory
