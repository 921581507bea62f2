// What the question selection reads of the tables, once per generation run,
// and the weights worked out from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/store/date_time.h"

namespace quillory {

class DataStore;

struct SelectionQuestion {
    std::int64_t id = 0;
    int key = 0;                         // the ID as the candidate query reads it, for the unit key
    std::optional<std::int64_t> typeId;  // only when stored as an integer
    std::string groupId;
    std::string knowledge;
    std::string knowledgeFolded;  // lower-cased, up to a NUL: what like sees
};

struct SelectionHistory {
    std::string knowledgeId;
    int questionId = 0;
    float totalScore = 0.0f;
    float userScore = 0.0f;
    DateTime recordDate;
};

struct KnowledgeWeights {
    std::vector<std::int64_t> weights;  // parallel to SelectionTables::knowledgeIds
    std::int64_t maximum = 0;
};

struct SelectionTables {
    bool readable = false;  // Knowledge and History were read
    // Question was read, has no index and integer IDs and types, so its
    // scan order is the ID order and TypeID=n compares numbers.
    bool questionsInMemory = false;
    std::vector<SelectionQuestion> questions;
    std::vector<int> knowledgeIds;                   // ascending
    KnowledgeWeights stored;                         // the Weight column as it is
    std::unordered_map<int, size_t> knowledgeIndex;  // ID -> first row
    std::vector<SelectionHistory> history;           // by RecordDate, ID
    // Question ID -> the latest history record with a total score.
    std::unordered_map<int, size_t> latestAnswer;
    // Adjusted weights by period (0, 1, 2 = all), worked out when first asked.
    std::optional<KnowledgeWeights> adjusted[3];
};

SelectionTables ReadSelectionTables(DataStore& store);

// The moment after which history counts: now less 7 days (period 0) or 30
// days (period 1); 1000-01-01 00:00:00 for any other period.
DateTime AdjustmentCutOff(const DateTime& now, int period);

// The knowledge weights, adjusted by the history after the cut-off when
// adjust is set, and their maximum (never below 0).
const KnowledgeWeights& WeightsFor(SelectionTables& tables, bool adjust, int period,
                                   const DateTime& now);

// The weight of one candidate entry: 20, plus its knowledge points' shares,
// damped by the unit's latest answer, divided among the unit's questions.
std::int64_t EntryWeight(const SelectionTables& tables, const KnowledgeWeights& weights,
                         std::string_view key, std::string_view knowledge);

}  // namespace quillory
