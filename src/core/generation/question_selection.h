// The weighted random choice of one selection unit for a question slot.
//
// A generation run makes one QuestionSelection: it reads Question, Knowledge
// and History once, and works out the adjusted knowledge weights once per
// period, since nothing changes the tables while a run lasts. Every call
// then chooses exactly the unit (and consumes exactly the random numbers)
// that running the slot's query and rereading both tables would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/common/legacy_random.h"
#include "core/store/date_time.h"

namespace quillory {

class DataStore;
struct SelectionTables;

// What fills a question slot; the one the program runs is QuestionSelection.
class UnitSelector {
public:
    virtual ~UnitSelector() = default;
    // Sets key to the chosen unit ("" when none) and returns the number of
    // questions that matched the filter: 0 also when the lists are empty once
    // cleaned or on a database error. usedKeys holds the run's keys, each
    // followed by ","; a key found in it is drawn again, up to 20 draws.
    // period: 0 the last 7 days, 1 the last 30 days, else all history.
    virtual int SelectQuestionUnit(const std::string& questionIds, const std::string& typeIds,
                                   const std::string& knowledgeIds, std::string& key,
                                   const std::string& usedKeys, bool adjust, int period,
                                   bool useGroups, LegacyRandom& random) = 0;
};

class QuestionSelection final : public UnitSelector {
public:
    // now: the local time the adjustment's cut-off is counted back from.
    QuestionSelection(DataStore& store, const DateTime& now);
    ~QuestionSelection();
    QuestionSelection(const QuestionSelection&) = delete;
    QuestionSelection& operator=(const QuestionSelection&) = delete;

    int SelectQuestionUnit(const std::string& questionIds, const std::string& typeIds,
                           const std::string& knowledgeIds, std::string& key,
                           const std::string& usedKeys, bool adjust, int period, bool useGroups,
                           LegacyRandom& random) override;

private:
    DataStore& store_;
    DateTime now_;
    std::unique_ptr<SelectionTables> tables_;
};

}  // namespace quillory
