#include "core/analysis/mistake_notebook.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

constexpr long long kDay = 86400;

struct Attempts {
    Mistake mistake;
    bool latestWrong = false;
};

// The latest mistake first; of two at one moment, the lower question first.
bool LaterMistake(const Mistake& a, const Mistake& b) {
    const auto key = [](const Mistake& m) {
        return std::tuple(
            SecondsSinceEpoch(m.lastWrongDate),
            m.lastWrongTime.hour * 3600 + m.lastWrongTime.minute * 60 + m.lastWrongTime.second);
    };
    if (key(a) != key(b)) {
        return key(a) > key(b);
    }
    return a.questionId < b.questionId;
}

std::map<int, Attempts> ReadAttempts(std::vector<HistoryRow> rows) {
    // By moment, as the rows were stored: the dates compare as values, so
    // a bank that wrote them in another form sorts alike.
    std::stable_sort(rows.begin(), rows.end(), [](const HistoryRow& a, const HistoryRow& b) {
        return std::tuple(a.RecordDate.year, a.RecordDate.month, a.RecordDate.day,
                          a.RecordTime.hour, a.RecordTime.minute, a.RecordTime.second) <
               std::tuple(b.RecordDate.year, b.RecordDate.month, b.RecordDate.day,
                          b.RecordTime.hour, b.RecordTime.minute, b.RecordTime.second);
    });
    std::map<int, Attempts> attempts;
    for (const HistoryRow& row : rows) {
        if (!(row.TotalScore > 0.0f)) {
            continue;
        }
        Attempts& question = attempts[row.QuestionID];
        Mistake& mistake = question.mistake;
        mistake.questionId = row.QuestionID;
        mistake.fullMarks = row.TotalScore;
        mistake.lastAnswer = row.UserAnswer;
        question.latestWrong = row.UserScore < row.TotalScore;
        if (question.latestWrong) {
            ++mistake.wrong;
            mistake.lastWrongDate = row.RecordDate;
            mistake.lastWrongTime = row.RecordTime;
            mistake.label = row.PaperTitle + "-" + row.PaperItemTitle;
        } else {
            ++mistake.right;
        }
    }
    return attempts;
}

}  // namespace

std::optional<MistakeNotebook> ReadMistakeNotebook(DataStore& store, const MistakeFilter& filter) {
    auto history = ReadHistoryRows(store);
    const auto questions = ReadQuestionRows(store);
    const auto knowledge = ReadKnowledgeRows(store);
    if (!history || !questions || !knowledge) {
        return std::nullopt;
    }
    PaperNodeList points;
    for (const KnowledgeRow& row : *knowledge) {
        points.Add({row.ID, row.SuperiorID, row.Title});
    }
    points.Order();
    std::unordered_map<int, const QuestionRow*> questionById;
    for (const QuestionRow& row : *questions) {
        questionById.emplace(row.ID, &row);
    }

    const long long now = SecondsSinceEpoch(filter.now);
    std::vector<Mistake> found;
    for (auto& [id, attempts] : ReadAttempts(std::move(*history))) {
        const auto question = questionById.find(id);
        if (!attempts.latestWrong || question == questionById.end()) {
            continue;
        }
        Mistake& mistake = attempts.mistake;
        if (filter.days > 0 &&
            now - SecondsSinceEpoch(mistake.lastWrongDate) > filter.days * kDay) {
            continue;
        }
        const QuestionRow& row = *question->second;
        mistake.typeId = row.TypeID;
        mistake.url = row.Url;
        mistake.answerUrl = row.AnswerUrl;
        mistake.answerForm = row.Answer;
        for (const std::string& piece : SplitString(row.Knowledge, ",")) {
            const int point = AtoI(Trim(piece));
            if (points.IndexOf(point) >= 0 &&
                std::find(mistake.knowledgeIds.begin(), mistake.knowledgeIds.end(), point) ==
                    mistake.knowledgeIds.end()) {
                mistake.knowledgeIds.push_back(point);
            }
        }
        if (filter.knowledgeId != 0 &&
            std::none_of(mistake.knowledgeIds.begin(), mistake.knowledgeIds.end(),
                         [&](int point) { return points.IsUnder(point, filter.knowledgeId); })) {
            continue;
        }
        found.push_back(std::move(mistake));
    }
    std::sort(found.begin(), found.end(), LaterMistake);

    MistakeNotebook notebook;
    std::unordered_map<int, size_t> placed;  // question → position in notebook.mistakes
    const auto place = [&](const Mistake& mistake) {
        const auto [at, added] = placed.emplace(mistake.questionId, notebook.mistakes.size());
        if (added) {
            notebook.mistakes.push_back(mistake);
        }
        return at->second;
    };
    std::unordered_map<int, std::vector<size_t>> byPoint;  // positions in found, latest first
    for (size_t f = 0; f < found.size(); ++f) {
        for (const int point : found[f].knowledgeIds) {
            byPoint[point].push_back(f);
        }
    }
    for (const PaperNode& point : points.Nodes()) {
        const auto listed = byPoint.find(point.id);
        if (listed == byPoint.end() ||
            (filter.knowledgeId != 0 && !points.IsUnder(point.id, filter.knowledgeId))) {
            continue;
        }
        MistakePoint entry{point.id, points.Depth(point.id), point.title, {}};
        for (const size_t f : listed->second) {
            entry.mistakes.push_back(place(found[f]));
        }
        notebook.points.push_back(std::move(entry));
    }
    // Questions without a known point come last, under no point.
    for (const Mistake& mistake : found) {
        place(mistake);
    }
    return notebook;
}

}  // namespace quillory
