#include "core/generation/selection_tables.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "core/common/text.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

// Days since 1970-01-01 of a civil date, and back.
std::int64_t DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yoe = year - era * 400;
    const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t days, DateTime& value) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    value.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    value.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    value.year = static_cast<int>(yoe + era * 400 + (value.month <= 2 ? 1 : 0));
}

std::int64_t ToInt64(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

bool ReadQuestions(DataStore& store, SelectionTables& tables) {
    auto indexes = store.Query(
        "select count(*) as index_count from sqlite_master where type='index' and "
        "lower(tbl_name)='question'");
    if (!indexes || indexes->AtEnd() || indexes->Int("index_count") != 0) {
        return false;
    }
    auto rows = store.Query(
        "select ID, typeof(ID) as IdKind, TypeID, typeof(TypeID) as TypeKind, GroupID, "
        "Knowledge from Question");
    if (!rows) {
        return false;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        if (rows->Text("IdKind") != "integer" || rows->Text("TypeKind") != "integer") {
            return false;
        }
        SelectionQuestion question;
        question.id = ToInt64(rows->Text("ID"));
        question.key = rows->Int("ID");
        question.typeId = ToInt64(rows->Text("TypeID"));
        question.groupId = rows->Text("GroupID");
        question.knowledge = rows->Text("Knowledge");
        question.knowledgeFolded = ToLowerAscii(
            std::string_view(question.knowledge).substr(0, question.knowledge.find('\0')));
        tables.questions.push_back(std::move(question));
    }
    return !rows->Failed();
}

bool ReadKnowledge(DataStore& store, SelectionTables& tables) {
    auto rows = store.Query("select ID, Weight from Knowledge order by ID");
    if (!rows) {
        return false;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        const int id = rows->Int("ID");
        const int weight = rows->Int("Weight");
        tables.knowledgeIndex.emplace(id, tables.knowledgeIds.size());
        tables.knowledgeIds.push_back(id);
        tables.stored.weights.push_back(weight);
        tables.stored.maximum = std::max<std::int64_t>(tables.stored.maximum, weight);
    }
    return !rows->Failed();
}

bool ReadHistory(DataStore& store, SelectionTables& tables) {
    auto rows = store.Query(
        "select ID, QuestionID, TotalScore, UserScore, KnowledgeID, RecordDate from History "
        "order by RecordDate, ID");
    if (!rows) {
        return false;
    }
    for (; !rows->AtEnd(); rows->Next()) {
        SelectionHistory record;
        record.knowledgeId = rows->Text("KnowledgeID");
        record.questionId = rows->Int("QuestionID");
        record.totalScore = rows->Single("TotalScore");
        record.userScore = rows->Single("UserScore");
        record.recordDate = rows->Date("RecordDate");
        if (record.totalScore != 0.0f) {
            tables.latestAnswer[record.questionId] = tables.history.size();
        }
        tables.history.push_back(std::move(record));
    }
    return !rows->Failed();
}

KnowledgeWeights Adjust(const SelectionTables& tables, const DateTime& cutOff) {
    // Each record adds to every point whose decimal ID it contains; a point
    // still receives its records in history order, so its single-precision
    // sums come out as a walk over the whole history per point would give.
    std::unordered_map<std::string_view, size_t> byText;
    std::vector<std::string> texts(tables.knowledgeIds.size());
    std::set<size_t> lengths;
    for (size_t k = 0; k < tables.knowledgeIds.size(); ++k) {
        texts[k] = Format("%d", tables.knowledgeIds[k]);
        if (texts[k].size() > 5) {
            byText.emplace(texts[k], k);
            lengths.insert(texts[k].size());
        }
    }
    std::vector<float> total(texts.size(), 0.0f);
    std::vector<float> user(texts.size(), 0.0f);
    std::vector<size_t> found;
    for (const SelectionHistory& record : tables.history) {
        if (!(record.recordDate > cutOff)) {
            continue;
        }
        const std::string_view text = record.knowledgeId;
        found.clear();
        for (const size_t length : lengths) {
            for (size_t at = 0; at + length <= text.size(); ++at) {
                const auto hit = byText.find(text.substr(at, length));
                if (hit != byText.end()) {
                    found.push_back(hit->second);
                }
            }
        }
        if (found.empty()) {
            continue;
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        const float share =
            1.0f / static_cast<float>(std::count(text.begin(), text.end(), ',') + 1);
        for (const size_t k : found) {
            total[k] += share * record.totalScore;
            user[k] += share * record.userScore;
        }
    }
    KnowledgeWeights adjusted = tables.stored;
    for (size_t k = 0; k < texts.size(); ++k) {
        std::int64_t& weight = adjusted.weights[k];
        if (static_cast<double>(user[k]) <= 0.1 || total[k] / user[k] > 2.0) {
            weight *= 2;
        } else {
            weight = static_cast<std::int64_t>(static_cast<float>(weight) * total[k] / user[k]);
        }
        adjusted.maximum = std::max(adjusted.maximum, weight);
    }
    return adjusted;
}

}  // namespace

SelectionTables ReadSelectionTables(DataStore& store) {
    SelectionTables tables;
    tables.questionsInMemory = ReadQuestions(store, tables);
    if (!tables.questionsInMemory) {
        tables.questions.clear();
    }
    tables.readable = ReadKnowledge(store, tables) && ReadHistory(store, tables);
    return tables;
}

DateTime AdjustmentCutOff(const DateTime& now, int period) {
    if (period != 0 && period != 1) {
        return DateTime{1000, 1, 1, 0, 0, 0};
    }
    DateTime cutOff = now;
    CivilFromDays(DaysFromCivil(now.year, now.month, now.day) - (period == 0 ? 7 : 30), cutOff);
    return cutOff;
}

const KnowledgeWeights& WeightsFor(SelectionTables& tables, bool adjust, int period,
                                   const DateTime& now) {
    if (!adjust) {
        return tables.stored;
    }
    std::optional<KnowledgeWeights>& slot =
        tables.adjusted[period == 0 || period == 1 ? period : 2];
    if (!slot) {
        slot = Adjust(tables, AdjustmentCutOff(now, period));
    }
    return *slot;
}

std::int64_t EntryWeight(const SelectionTables& tables, const KnowledgeWeights& weights,
                         std::string_view key, std::string_view knowledge) {
    std::int64_t score = 20;
    const std::vector<std::string> points = SplitString(knowledge, ",");
    const auto n = static_cast<std::int64_t>(points.size());
    for (const std::string& point : points) {
        const int id = AtoI(point);
        if (id == 0 || weights.maximum == 0) {
            continue;
        }
        const auto row = tables.knowledgeIndex.find(id);
        if (row != tables.knowledgeIndex.end()) {
            score += weights.weights[row->second] * 100 / weights.maximum / n;
        }
    }
    const std::vector<std::string> unit = SplitString(key, ",");
    const SelectionHistory* latest = nullptr;
    size_t latestIndex = 0;
    for (const std::string& piece : unit) {
        const auto answer = tables.latestAnswer.find(AtoI(piece));
        if (answer != tables.latestAnswer.end() && (!latest || answer->second > latestIndex)) {
            latestIndex = answer->second;
            latest = &tables.history[latestIndex];
        }
    }
    if (latest) {
        score = static_cast<std::int64_t>((1.0 - 0.9 * latest->userScore / latest->totalScore) *
                                          static_cast<double>(score) * 0.5);
    }
    return score / static_cast<std::int64_t>(unit.size());
}

}  // namespace quillory
