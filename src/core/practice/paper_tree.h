// The rows a paper tree shows (classic papers, practice papers, one node's
// subtree) and the deletion of a practice paper with its history.
#pragma once

#include <optional>
#include <string>

#include "core/common/paper_node_list.h"
#include "core/common/result.h"

namespace quillory {

class DataStore;
class Settings;

enum class PaperFilter {
    Classic = 1,    // papers whose IsSystem is false
    Practice = 2,   // papers whose IsSystem is true (generated)
    Reference = 3,  // papers whose IsReference is true
    All = 0,
};

enum class PaperNodeKind { Paper, Section, QuestionItem };
PaperNodeKind KindOf(const PaperNode& node);

// The included rows in tree order (with their questionId). rootId -1 takes whole
// papers by the filter, rows below a paper following its decision; another
// rootId takes that node and what follows it in tree order up to the next
// row with the same parent. Nothing on a database error.
std::optional<PaperNodeList> LoadPaperTreeRows(DataStore& store, int rootId, PaperFilter filter);

// Deletes a paper with every node below it (as nodes lists them), their
// History rows and their local page files. The rows go in one transaction:
// all or nothing. The page files are removed only once the rows are gone,
// and only inside the data folder. On success "HistoryModified" is set;
// NotFound when a node is gone already, Database when the engine refuses.
Status DeletePaperTree(DataStore& store, Settings& settings, const std::string& dataFolder,
                       const PaperNodeList& nodes, int nodeId);

}  // namespace quillory
