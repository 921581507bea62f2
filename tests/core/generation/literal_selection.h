// The question selection as its rules read, step for step: three queries
// and a walk over knowledge points × history on every call. The program's
// selection must choose exactly what this one chooses.
#pragma once

#include "core/generation/question_selection.h"
#include "core/store/date_time.h"

namespace quillory {

class DataStore;

namespace testing {

class LiteralSelection final : public UnitSelector {
public:
    LiteralSelection(DataStore& store, const DateTime& now) : store_(store), now_(now) {}

    int SelectQuestionUnit(const std::string& questionIds, const std::string& typeIds,
                           const std::string& knowledgeIds, std::string& key,
                           const std::string& usedKeys, bool adjust, int period, bool useGroups,
                           LegacyRandom& random) override;

private:
    DataStore& store_;
    DateTime now_;
};

}  // namespace testing
}  // namespace quillory
