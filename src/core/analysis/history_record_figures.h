// The figures of one exam record's page: per section and answered question
// below a node, the full marks and the score, with the item's type and
// knowledge points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/paper_item_figures.h"
#include "core/common/result.h"
#include "core/store/date_time.h"

namespace quillory {

class DataStore;

struct RecordLine {
    PaperItemLine item;
    // A section sums the answered questions below it.
    float fullMarks = 0.0f;
    float score = 0.0f;

    bool operator==(const RecordLine&) const = default;
};

struct HistoryRecordFigures {
    std::optional<std::string> heading;  // the root's title; none when no node is below it
    DateTime date;
    DateTime time;
    // In tree order; question items the record did not answer are left out.
    std::vector<RecordLine> lines;
};

// historyId names any History row of the record; rootNodeId the Paper node
// whose subtree counts (0: the record's own paper). NotFound when there is
// no such record, Database when the tables cannot be read.
Result<HistoryRecordFigures> ReadHistoryRecordFigures(DataStore& store, int historyId,
                                                      int rootNodeId);

}  // namespace quillory
