#include "core/generation/question_selection.h"

#include <algorithm>
#include <cstdlib>

#include "core/common/text.h"
#include "core/generation/selection_query.h"
#include "core/generation/selection_tables.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

struct Candidate {
    std::string key;
    std::int64_t weight = 0;
};

// Longer lists make the statement deeper than the engine accepts; those
// slots run their statement, which fails as it always would.
constexpr size_t kMostPiecesInMemory = 200;

bool IsNumberPiece(const std::string& piece) {
    return piece.size() <= 18 &&
           std::all_of(piece.begin(), piece.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Printable ASCII without a quote or a wildcard: like '*piece*' then tests
// for the piece as it stands, ASCII letters in either case.
bool IsPlainPiece(const std::string& piece) {
    return piece.size() <= 1000 && std::all_of(piece.begin(), piece.end(), [](char c) {
               return c >= 0x20 && c < 0x7F && c != '\'' && c != '*' && c != '?';
           });
}

// The filter as numbers and folded texts, when every piece means in memory
// what it means in the statement.
struct MemoryFilter {
    std::vector<std::int64_t> ids;
    std::vector<std::int64_t> types;
    std::vector<std::string> points;

    static std::optional<MemoryFilter> From(const SelectionFilter& filter) {
        if (filter.questionIds.size() + filter.typeIds.size() + filter.knowledgeIds.size() >
            kMostPiecesInMemory) {
            return std::nullopt;
        }
        MemoryFilter memory;
        for (const std::string& piece : filter.questionIds) {
            if (!IsNumberPiece(piece)) {
                return std::nullopt;
            }
            memory.ids.push_back(std::strtoll(piece.c_str(), nullptr, 10));
        }
        for (const std::string& piece : filter.typeIds) {
            if (!IsNumberPiece(piece)) {
                return std::nullopt;
            }
            memory.types.push_back(std::strtoll(piece.c_str(), nullptr, 10));
        }
        for (const std::string& piece : filter.knowledgeIds) {
            if (!IsPlainPiece(piece)) {
                return std::nullopt;
            }
            memory.points.push_back(ToLowerAscii(piece));
        }
        return memory;
    }

    bool Matches(const SelectionQuestion& question) const {
        if (std::find(ids.begin(), ids.end(), question.id) != ids.end()) {
            return true;
        }
        if (!types.empty() &&
            std::find(types.begin(), types.end(), *question.typeId) == types.end()) {
            return false;
        }
        if (points.empty()) {
            return !types.empty();
        }
        return std::any_of(points.begin(), points.end(), [&](const std::string& point) {
            return question.knowledgeFolded.find(point) != std::string::npos;
        });
    }
};

// Up to 20 draws, until one gives a key the run has not used; a unit drawn
// keeps weight 1. A total that falls to 0 (weights below 0 are possible)
// would divide by zero: the draws stop there.
void Draw(std::vector<Candidate>& candidates, std::int64_t total, const std::string& usedKeys,
          std::string& key, LegacyRandom& random) {
    for (int draws = 0; draws < 20 && total != 0; ++draws) {
        if (!key.empty() && usedKeys.find(key) == std::string::npos) {
            return;
        }
        const std::int64_t r = random.Next() % total;
        std::int64_t sum = 0;
        for (Candidate& candidate : candidates) {
            sum += candidate.weight;
            if (sum >= r) {
                key = candidate.key;
                total += 1 - candidate.weight;
                candidate.weight = 1;
                break;
            }
        }
    }
}

}  // namespace

QuestionSelection::QuestionSelection(DataStore& store, const DateTime& now)
    : store_(store),
      now_(now),
      tables_(std::make_unique<SelectionTables>(ReadSelectionTables(store))) {}

QuestionSelection::~QuestionSelection() = default;

int QuestionSelection::SelectQuestionUnit(const std::string& questionIds,
                                          const std::string& typeIds,
                                          const std::string& knowledgeIds, std::string& key,
                                          const std::string& usedKeys, bool adjust, int period,
                                          bool useGroups, LegacyRandom& random) {
    key.clear();
    const SelectionFilter filter = CleanSelectionLists(questionIds, typeIds, knowledgeIds);
    if (filter.Empty() || !tables_->readable) {
        return 0;
    }
    const KnowledgeWeights& weights = WeightsFor(*tables_, adjust, period, now_);
    std::vector<Candidate> candidates;
    const auto memory = tables_->questionsInMemory ? MemoryFilter::From(filter) : std::nullopt;
    if (memory) {
        for (const SelectionQuestion& question : tables_->questions) {
            if (memory->Matches(question)) {
                std::string unit = UnitKey(question.key, question.groupId, useGroups);
                const std::int64_t weight =
                    EntryWeight(*tables_, weights, unit, question.knowledge);
                candidates.push_back({std::move(unit), weight});
            }
        }
    } else {
        auto rows = store_.Query(SelectionQueryText(filter));
        if (!rows) {
            return 0;
        }
        for (; !rows->AtEnd(); rows->Next()) {
            std::string unit = UnitKey(rows->Int("ID"), rows->Text("GroupID"), useGroups);
            const std::int64_t weight =
                EntryWeight(*tables_, weights, unit, rows->Text("Knowledge"));
            candidates.push_back({std::move(unit), weight});
        }
        if (rows->Failed()) {
            return 0;
        }
    }
    std::int64_t total = 0;
    for (const Candidate& candidate : candidates) {
        total += candidate.weight;
    }
    if (total > 0) {
        Draw(candidates, total, usedKeys, key, random);
    }
    return static_cast<int>(candidates.size());
}

}  // namespace quillory
