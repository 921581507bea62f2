// The print file of a paper node: the bodies of its own page and of every
// page below it, one after the other, with or without the answer pages.
#pragma once

#include <optional>
#include <string>

#include "core/common/paper_node_list.h"
#include "core/pages/page_context.h"

namespace quillory {

class Progress;

struct PrintRange {
    size_t first = 0;  // index of the node printed
    size_t end = 0;    // one past the last node of its subtree
};

// The node with currentItemId and the nodes that follow it while they lie
// in its subtree; nothing when no node has that ID.
std::optional<PrintRange> FindPrintRange(const PaperNodeList& nodes, int currentItemId);

// Writes Question/<title of the node>.htm in the data folder (the title made
// safe as a file name) and returns its path; empty when the file could not be
// made or would replace a file of the bank (MayWriteComposedFile). Errors are reported through the
// host; what was written before an error stays in the file and is still worth printing.
std::string ComposePrintFile(PageContext& context, const PaperNodeList& nodes, PrintRange range,
                             bool withAnswers, Progress& progress);

}  // namespace quillory
