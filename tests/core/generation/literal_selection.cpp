#include "core/generation/literal_selection.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/common/text.h"
#include "core/generation/selection_query.h"
#include "core/generation/selection_tables.h"
#include "core/store/data_store.h"

namespace quillory::testing {

int LiteralSelection::SelectQuestionUnit(const std::string& questionIds, const std::string& typeIds,
                                         const std::string& knowledgeIds, std::string& key,
                                         const std::string& usedKeys, bool adjust, int period,
                                         bool useGroups, LegacyRandom& random) {
    key.clear();
    const std::string query =
        SelectionQueryText(CleanSelectionLists(questionIds, typeIds, knowledgeIds));
    std::vector<std::string> keys;
    std::vector<std::string> knowledge;
    if (!query.empty()) {
        auto rows = store_.Query(query);
        if (!rows) {
            return 0;
        }
        for (; !rows->AtEnd(); rows->Next()) {
            keys.push_back(UnitKey(rows->Int("ID"), rows->Text("GroupID"), useGroups));
            knowledge.push_back(rows->Text("Knowledge"));
        }
        if (rows->Failed()) {
            return 0;
        }
    }

    std::vector<int> pointIds;
    std::vector<std::int64_t> weights;
    std::int64_t maximum = 0;
    auto points = store_.Query("select ID, Weight from Knowledge order by ID");
    if (!points) {
        return 0;
    }
    for (; !points->AtEnd(); points->Next()) {
        pointIds.push_back(points->Int("ID"));
        weights.push_back(points->Int("Weight"));
        maximum = std::max(maximum, weights.back());
    }
    if (points->Failed()) {
        return 0;
    }

    struct Record {
        std::string knowledgeId;
        int questionId;
        float total;
        float user;
        DateTime date;
    };
    std::vector<Record> history;
    auto records = store_.Query(
        "select ID, QuestionID, TotalScore, UserScore, KnowledgeID, RecordDate from History "
        "order by RecordDate, ID");
    if (!records) {
        return 0;
    }
    for (; !records->AtEnd(); records->Next()) {
        history.push_back({records->Text("KnowledgeID"), records->Int("QuestionID"),
                           records->Single("TotalScore"), records->Single("UserScore"),
                           records->Date("RecordDate")});
    }
    if (records->Failed()) {
        return 0;
    }

    if (adjust) {
        const DateTime cutOff = AdjustmentCutOff(now_, period);
        for (size_t k = 0; k < pointIds.size(); ++k) {
            float total = 0.0f;
            float user = 0.0f;
            const std::string id = Format("%d", pointIds[k]);
            if (id.size() > 5) {
                for (const Record& record : history) {
                    if (record.date > cutOff && record.knowledgeId.find(id) != std::string::npos) {
                        const float share =
                            1.0f / static_cast<float>(SplitString(record.knowledgeId, ",").size());
                        total += share * record.total;
                        user += share * record.user;
                    }
                }
            }
            if (user <= 0.1 || total / user > 2.0) {
                weights[k] *= 2;
            } else {
                weights[k] =
                    static_cast<std::int64_t>(static_cast<float>(weights[k]) * total / user);
            }
            maximum = std::max(maximum, weights[k]);
        }
    }

    std::vector<std::int64_t> unitWeights;
    std::int64_t totalWeight = 0;
    for (size_t c = 0; c < keys.size(); ++c) {
        std::int64_t score = 20;
        const std::vector<std::string> pieces = SplitString(knowledge[c], ",");
        const auto n = static_cast<std::int64_t>(pieces.size());
        for (const std::string& piece : pieces) {
            const int id = AtoI(piece);
            if (id == 0 || maximum == 0) {
                continue;
            }
            const auto row = std::find(pointIds.begin(), pointIds.end(), id);
            if (row != pointIds.end()) {
                score += weights[static_cast<size_t>(row - pointIds.begin())] * 100 / maximum / n;
            }
        }
        const std::vector<std::string> unit = SplitString(keys[c], ",");
        for (size_t h = history.size(); h-- > 0;) {
            const Record& record = history[h];
            if (record.total == 0.0f) {
                continue;
            }
            const bool answered = std::any_of(unit.begin(), unit.end(), [&](const std::string& q) {
                return AtoI(q) == record.questionId;
            });
            if (answered) {
                score = static_cast<std::int64_t>((1.0 - 0.9 * record.user / record.total) *
                                                  static_cast<double>(score) * 0.5);
                break;
            }
        }
        score /= static_cast<std::int64_t>(unit.size());
        unitWeights.push_back(score);
        totalWeight += score;
    }

    if (totalWeight > 0) {
        for (int draws = 0; draws < 20 && totalWeight != 0; ++draws) {
            if (!key.empty() && usedKeys.find(key) == std::string::npos) {
                break;
            }
            const std::int64_t r = random.Next() % totalWeight;
            std::int64_t sum = 0;
            for (size_t c = 0; c < keys.size(); ++c) {
                sum += unitWeights[c];
                if (sum >= r) {
                    key = keys[c];
                    totalWeight += 1 - unitWeights[c];
                    unitWeights[c] = 1;
                    break;
                }
            }
        }
    }
    return static_cast<int>(keys.size());
}

}  // namespace quillory::testing
