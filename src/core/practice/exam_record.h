// Storing a finished exam as one History row per question, and reading a
// stored exam back for review.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/paper_node_list.h"
#include "core/practice/exam_item.h"
#include "core/store/date_time.h"

namespace quillory {

class DataStore;
class Settings;

struct StoredRecord {
    bool stored = false;
    int historyId = 0;  // ID of the first row of the record
    std::string error;  // why it was not stored
};

// All rows or none: one transaction. Numbered from NextHistoryID, dated now,
// PaperID/PaperTitle from the first node (the exam's root), one row per
// question node in node order with the items taken alongside. On success
// "HistoryModified" is set to 1.
StoredRecord StoreExamRecord(DataStore& store, Settings& settings, const DateTime& now,
                             const PaperNodeList& nodes, const std::vector<ExamItem>& items);

struct ReviewRecord {
    int paperId = 0;
    DateTime date;
    DateTime time;
};

// The PaperID, date and time of a History row; nothing when it cannot be read.
std::optional<ReviewRecord> FindRecord(DataStore& store, int historyId);

// The statement that reads every History row of a record, in ID order.
std::string RecordRowsQuery(const ReviewRecord& record);

// Sets each item's learner score and answer text from the record's rows, in
// ID order (so of two records stored in the same second the later row wins);
// rows whose question is no longer in the exam are ignored. False on a
// database error.
bool ApplyRecordRows(DataStore& store, const ReviewRecord& record, std::vector<ExamItem>& items);

}  // namespace quillory
