// The summary's chart of the learner's progress: the score rate of each
// week, over all answers and for each top-level knowledge point, drawn as
// inline SVG so the page stays one file and prints.
#pragma once

#include <string>
#include <vector>

namespace quillory {

class PaperNodeList;
struct HistoryRow;

// One "<div class=\"trend\">…</div>\n" block; nothing when no row has a
// date. knowledge is in tree order. A row counts for a top-level point when
// one of its knowledge IDs lies under it; weeks begin on Monday.
std::string HistoryTrendChart(const std::vector<HistoryRow>& rows, const PaperNodeList& knowledge);

}  // namespace quillory
