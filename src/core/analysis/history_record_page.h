// The page of one exam record: the paper tree below a node as an indented
// table of sections and answered questions, with full marks, score, score
// rate, question type and knowledge points, and links to each.
#pragma once

#include "core/common/result.h"
#include "core/pages/page_context.h"

namespace quillory {

// historyId names any History row of the record; rootNodeId the Paper node
// whose subtree is analysed (0: the record's own paper). Fails as
// ReadHistoryRecordFigures does, showing nothing; a page that cannot be
// written is told through the host, as on every page.
Status ShowHistoryRecord(PageContext& context, int historyId, int rootNodeId);

}  // namespace quillory
