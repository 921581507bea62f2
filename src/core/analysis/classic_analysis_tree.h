// The classic analysis module's tree: the summary over the reference papers
// and one item per reference paper.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/paper_node_list.h"

namespace quillory {

class DataStore;

inline constexpr int kClassicAnalysisRootId = 800000;

struct ClassicAnalysisItem {
    PaperNode node;    // referencePaperId: 0 for the summary
    std::string link;  // what selecting the item shows
};

// The summary "经典试卷汇总分析", then the reference papers in query order with
// IDs from 800001. Nothing on a database error.
std::optional<std::vector<ClassicAnalysisItem>> LoadClassicAnalysisTree(DataStore& store);

}  // namespace quillory
