#include "core/exchange/import_plan.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "core/common/text.h"
#include "core/exchange/bank_questions.h"
#include "core/exchange/import_answer_form.h"
#include "core/exchange/question_sheet.h"
#include "core/store/data_store.h"
#include "core/store/jet_dialect.h"

namespace quillory {

namespace {

constexpr int kSixDigitFirst = 100000;
constexpr int kSixDigitLast = 999999;

// The next free six-digit ID of a table: above the largest one it holds.
class SixDigitIds {
public:
    void Saw(int id) {
        if (id >= kSixDigitFirst && id <= kSixDigitLast) {
            largest_ = std::max(largest_, id);
        }
    }
    std::optional<int> Next() {
        if (largest_ >= kSixDigitLast) {
            return std::nullopt;
        }
        return ++largest_;
    }

private:
    int largest_ = kSixDigitFirst;
};

struct Point {
    int id = 0;
    int superiorId = 0;
    std::string title;
};

struct Bank {
    std::vector<std::pair<int, std::string>> types;
    std::vector<Point> points;
    std::map<int, std::pair<std::string, std::string>> questionPages;  // ID: Url, AnswerUrl
    std::vector<std::pair<int, std::string>> topPapers;                // classic papers: ID, title
    std::set<int> paperRows;
    std::map<int, std::set<double>> itemScores;  // question ID: its papers' scores, in Cents
    SixDigitIds typeIds;
    SixDigitIds pointIds;
    SixDigitIds questionIds;
};

// Scores compare to the cent: the table keeps them as single floats.
double Cents(double score) {
    return std::round(score * 100) / 100;
}

Error DatabaseError(DataStore& store) {
    return {ErrorCode::Database, store.LastError()};
}

std::optional<Error> ReadBank(DataStore& store, Bank& bank) {
    {
        auto rows = store.Query("select ID, Title from QuestionType");
        if (!rows) {
            return DatabaseError(store);
        }
        for (; !rows->AtEnd(); rows->Next()) {
            bank.types.emplace_back(rows->Int("ID"), Trim(rows->Text("Title")));
            bank.typeIds.Saw(rows->Int("ID"));
        }
    }
    {
        auto rows = store.Query("select ID, SuperiorID, Title from Knowledge");
        if (!rows) {
            return DatabaseError(store);
        }
        for (; !rows->AtEnd(); rows->Next()) {
            bank.points.push_back(
                {rows->Int("ID"), rows->Int("SuperiorID"), Trim(rows->Text("Title"))});
            bank.pointIds.Saw(rows->Int("ID"));
        }
    }
    {
        auto rows = store.Query("select ID, Url, AnswerUrl from Question");
        if (!rows) {
            return DatabaseError(store);
        }
        for (; !rows->AtEnd(); rows->Next()) {
            bank.questionPages[rows->Int("ID")] = {rows->Text("Url"), rows->Text("AnswerUrl")};
            bank.questionIds.Saw(rows->Int("ID"));
        }
    }
    {
        auto rows = store.Query(
            "select ID, SuperiorID, Title, IsSystem, IsQuestion, QuestionID, Score from Paper");
        if (!rows) {
            return DatabaseError(store);
        }
        for (; !rows->AtEnd(); rows->Next()) {
            bank.paperRows.insert(rows->Int("ID"));
            if (rows->Bool("IsQuestion")) {
                bank.itemScores[rows->Int("QuestionID")].insert(Cents(rows->Single("Score")));
            }
            if (rows->Int("SuperiorID") == 0 && !rows->Bool("IsSystem")) {
                bank.topPapers.emplace_back(rows->Int("ID"), Trim(rows->Text("Title")));
            }
        }
    }
    return std::nullopt;
}

std::string SourceKeyOf(const ImportedQuestion& question) {
    if (!Trim(question.sourceKey).empty()) {
        return question.place.sheet + "#" + Trim(question.sourceKey);
    }
    return "@" + question.place.Short();
}

// What the tool prints as the place of a key: "sheet!row", or the sheet and
// the source's own ID.
std::string KeyPlace(const std::string& key) {
    return key.size() > 1 && key[0] == '@' ? key.substr(1) : key;
}

// Where a warning or a problem is, as the tool prints a source: a place
// without a row or a line is its sheet, else its file.
std::string ShortPlace(const SourcePlace& place) {
    if (place.row > 0 || place.line > 0) {
        return place.Short();
    }
    return place.sheet.empty() ? place.file : place.sheet;
}

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\\"<>&") == std::string::npos;
}

std::vector<std::string> PathParts(const std::string& path) {
    std::string unified = path;
    ReplaceAll(unified, "／", "/");
    std::vector<std::string> parts;
    for (const std::string& piece : SplitString(unified, "/")) {
        if (!Trim(piece).empty()) {
            parts.push_back(Trim(piece));
        }
    }
    return parts;
}

class Planner {
public:
    Planner(Bank& bank, const ImportOptions& options, ImportPlan& plan)
        : bank_(bank), options_(options), plan_(plan) {}

    std::optional<Error> Type(const std::string& wanted, int& id, std::string& title) {
        title = wanted;
        for (const auto& [typeId, typeTitle] : bank_.types) {
            if (typeTitle == wanted) {
                id = typeId;
                return std::nullopt;
            }
        }
        const std::optional<int> next = bank_.typeIds.Next();
        if (!next) {
            return Error{ErrorCode::BadInput, "no six-digit question type ID is left"};
        }
        id = *next;
        bank_.types.emplace_back(id, wanted);
        plan_.newTypes.push_back({id, wanted});
        return std::nullopt;
    }

    std::optional<Error> KnowledgePoint(const std::string& path, int& id) {
        int parent = options_.knowledgeRoot;
        for (const std::string& part : PathParts(path)) {
            const auto found =
                std::find_if(bank_.points.begin(), bank_.points.end(), [&](const Point& point) {
                    return point.superiorId == parent && point.title == part;
                });
            if (found != bank_.points.end()) {
                parent = found->id;
                continue;
            }
            const std::optional<int> next = bank_.pointIds.Next();
            if (!next) {
                return Error{ErrorCode::BadInput, "no six-digit knowledge point ID is left"};
            }
            plan_.newPoints.push_back({*next, parent, part, Trail(parent)});
            bank_.points.push_back({*next, parent, part});
            parent = *next;
        }
        id = parent;
        return std::nullopt;
    }

    std::optional<Error> Paper(ImportFile& file, DataStore& store) {
        PlannedPaper paper;
        paper.title = Trim(file.paperTitle);
        paper.fileName = file.fileName;
        const ImportProblem fileProblem{{file.fileName, "", 0, 0}, ""};
        const auto refuse = [&](std::string text) {
            plan_.problems.push_back({fileProblem.place, std::move(text)});
        };
        if (paper.title.empty()) {
            refuse("试卷标题为空");
            return std::nullopt;
        }
        if (!titles_.insert(paper.title).second) {
            refuse("与另一个文件的试卷标题“" + paper.title + "”相同");
            return std::nullopt;
        }
        std::map<std::string, int> known;
        auto rows = store.Query(Format(
            "select QuestionID, PaperID, SourceKey from ImportedSource where PaperTitle='%s'",
            SqlQuote(paper.title).c_str()));
        if (!rows) {
            return DatabaseError(store);
        }
        for (; !rows->AtEnd(); rows->Next()) {
            known[rows->Text("SourceKey")] = rows->Int("QuestionID");
            if (bank_.paperRows.count(rows->Int("PaperID")) != 0) {
                paper.existingId = rows->Int("PaperID");
            }
        }
        std::map<int, ImportedQuestion> inBank;
        if (std::optional<Error> failed = ReadInBank(store, file.reading, inBank)) {
            return failed;
        }
        const size_t problemsBefore = plan_.problems.size();
        plan_.problems.insert(plan_.problems.end(), file.reading.problems.begin(),
                              file.reading.problems.end());
        plan_.warnings.insert(plan_.warnings.end(), file.reading.warnings.begin(),
                              file.reading.warnings.end());
        std::map<std::string, SourcePlace> keys;
        std::map<int, SourcePlace> rowOfId;
        std::set<std::string> skipped;
        std::set<int> taken;
        for (ImportedQuestion& question : file.reading.questions) {
            PlannedQuestion planned;
            planned.sourceKey = SourceKeyOf(question);
            std::string problem = AnswerFormProblem(question);
            for (const MediaFile& media : question.media) {
                if (problem.empty() && !IsPlainFileName(media.name)) {
                    problem = "图片的文件名“" + media.name + "”不能使用";
                }
            }
            if (Trim(question.stem).empty()) {
                problem = "没有题干";
            }
            const auto seen = keys.find(planned.sourceKey);
            if (problem.empty() && seen != keys.end()) {
                problem =
                    "序号“" + Trim(question.sourceKey) + "”与 " + seen->second.Text() + " 重复";
            }
            if (!problem.empty()) {
                plan_.problems.push_back({question.place, problem});
                skipped.insert(planned.sourceKey);
                continue;
            }
            const auto bankQuestion = inBank.find(question.existingId);
            if (bankQuestion != inBank.end()) {
                const auto [earlier, first] = rowOfId.emplace(question.existingId, question.place);
                if (!first) {
                    plan_.problems.push_back(
                        {question.place, Format("试题编号“%d”与 %s 重复", question.existingId,
                                                earlier->second.Text().c_str())});
                    continue;
                }
                WarnOfScore(question);
                if (Unchanged(question, bankQuestion->second)) {
                    ++paper.unchanged;
                    continue;
                }
                planned.inPlace = true;
            } else {
                keys.emplace(planned.sourceKey, question.place);
            }
            const std::string change = AnswerFormChange(question);
            if (!change.empty()) {
                plan_.warnings.push_back({question.place, change});
            }
            if (std::optional<Error> failed = Place(question, planned, known, taken)) {
                return failed;
            }
            planned.question = std::move(question);
            paper.questions.push_back(std::move(planned));
        }
        for (const auto& [key, id] : known) {
            if (keys.count(key) == 0 && skipped.count(key) == 0 &&
                bank_.questionPages.count(id) != 0 && paper.MakesPaper()) {
                paper.missing.push_back({id, key});
            }
        }
        const bool sameTitle =
            std::any_of(bank_.topPapers.begin(), bank_.topPapers.end(), [&](const auto& top) {
                return top.second == paper.title && top.first != paper.existingId;
            });
        if (sameTitle && paper.MakesPaper()) {
            refuse("题库中已有同名的试卷“" + paper.title + "”，请另取一个试卷标题");
            return std::nullopt;
        }
        if (paper.questions.empty() && paper.unchanged > 0) {
            plan_.papers.push_back(std::move(paper));
            return std::nullopt;
        }
        if (paper.questions.empty()) {
            // A file whose every question has a problem says so already.
            if (plan_.problems.size() == problemsBefore) {
                refuse("文件中没有可导入的试题");
            }
            return std::nullopt;
        }
        plan_.papers.push_back(std::move(paper));
        return std::nullopt;
    }

private:
    // The bank's questions the rows name by their 试题编号, as an export
    // would write them.
    std::optional<Error> ReadInBank(DataStore& store, const ImportReading& reading,
                                    std::map<int, ImportedQuestion>& inBank) {
        std::vector<int> ids;
        for (const ImportedQuestion& question : reading.questions) {
            if (question.existingId != 0 && bank_.questionPages.count(question.existingId) != 0) {
                ids.push_back(question.existingId);
            }
        }
        if (ids.empty()) {
            return std::nullopt;
        }
        std::error_code ec;
        const std::string dataFolder =
            std::filesystem::absolute(store.Path(), ec).parent_path().string();
        Result<ImportReading> read = ReadBankQuestionsById(store, dataFolder, ids);
        if (!read.ok()) {
            return read.error();
        }
        for (ImportedQuestion& question : read->questions) {
            const int id = question.existingId;
            inBank.emplace(id, std::move(question));
        }
        return std::nullopt;
    }

    // A score the papers do not give the question: the row updates the
    // question, never the papers, so the edit is told rather than lost unseen.
    void WarnOfScore(const ImportedQuestion& row) {
        const auto scores = bank_.itemScores.find(row.existingId);
        if (row.score && scores != bank_.itemScores.end() &&
            scores->second.count(Cents(*row.score)) == 0) {
            plan_.warnings.push_back(
                {row.place, Format("分值 %g 与试卷中试题 %06d 的分值不同；导入只更新试题，"
                                   "试卷中的分值不变",
                                   *row.score, row.existingId)});
        }
    }

    // Whether a row says what the bank holds, the score aside: an updated
    // question keeps the scores its papers give it.
    bool Unchanged(const ImportedQuestion& row, const ImportedQuestion& bank) {
        ImportedQuestion rowAside = row;
        ImportedQuestion bankAside = bank;
        rowAside.score.reset();
        bankAside.score.reset();
        if (QuestionCells(rowAside) != QuestionCells(bankAside)) {
            if (!bank.media.empty()) {
                plan_.warnings.push_back(
                    {row.place,
                     Format("试题 %06d 原有图片，表格中没有图片，更新后不再显示", row.existingId)});
            }
            return false;
        }
        return true;
    }

    std::vector<KnowledgeTrail> Trail(int id) const {
        std::vector<KnowledgeTrail> trail;
        std::set<int> seen;
        while (id != 0 && seen.insert(id).second) {
            const auto found = std::find_if(bank_.points.begin(), bank_.points.end(),
                                            [id](const Point& point) { return point.id == id; });
            if (found == bank_.points.end()) {
                break;
            }
            trail.insert(trail.begin(), {found->id, found->title});
            id = found->superiorId;
        }
        return trail;
    }

    // The question's ID, type, points and score.
    std::optional<Error> Place(const ImportedQuestion& question, PlannedQuestion& planned,
                               const std::map<std::string, int>& known, std::set<int>& taken) {
        const auto earlier = known.find(planned.sourceKey);
        if (planned.inPlace) {
            planned.id = question.existingId;
            planned.update = true;
            taken.insert(planned.id);
            std::tie(planned.oldUrl, planned.oldAnswerUrl) = bank_.questionPages[planned.id];
        } else if (earlier != known.end() && bank_.questionPages.count(earlier->second) != 0 &&
                   taken.insert(earlier->second).second) {
            planned.id = earlier->second;
            planned.update = true;
            std::tie(planned.oldUrl, planned.oldAnswerUrl) = bank_.questionPages[planned.id];
        } else {
            const std::optional<int> next = bank_.questionIds.Next();
            if (!next) {
                return Error{ErrorCode::BadInput, "no six-digit question ID is left"};
            }
            planned.id = *next;
        }
        const std::string typeTitle = Trim(question.typeTitle).empty()
                                          ? std::string(UsualTypeTitle(question.kind))
                                          : Trim(question.typeTitle);
        if (std::optional<Error> failed = Type(typeTitle, planned.typeId, planned.typeTitle)) {
            return failed;
        }
        for (const std::string& path : question.knowledgePaths) {
            int point = 0;
            if (std::optional<Error> failed = KnowledgePoint(path, point)) {
                return failed;
            }
            if (point != 0 && std::find(planned.knowledgeIds.begin(), planned.knowledgeIds.end(),
                                        point) == planned.knowledgeIds.end()) {
                planned.knowledgeIds.push_back(point);
            }
        }
        planned.score = DefaultScore(question.kind);
        if (question.score && *question.score > 0) {
            planned.score = *question.score;
        } else if (question.score) {
            plan_.warnings.push_back(
                {question.place, Format("分值不是正数，已按 %g 分计", planned.score)});
        }
        return std::nullopt;
    }

    Bank& bank_;
    const ImportOptions& options_;
    ImportPlan& plan_;
    std::set<std::string> titles_;
};

}  // namespace

double DefaultScore(QuestionKind kind) {
    switch (kind) {
        case QuestionKind::SingleChoice:
            return 3;
        case QuestionKind::MultipleChoice:
            return 4;
        case QuestionKind::TrueFalse:
            return 2;
        case QuestionKind::FillBlank:
            return 3;
        case QuestionKind::Manual:
            return 10;
        case QuestionKind::Matching:
        case QuestionKind::Cloze:
            return 5;
    }
    return 0;
}

const char* UsualTypeTitle(QuestionKind kind) {
    switch (kind) {
        case QuestionKind::SingleChoice:
            return "单项选择题";
        case QuestionKind::MultipleChoice:
            return "多项选择题";
        case QuestionKind::TrueFalse:
            return "判断题";
        case QuestionKind::FillBlank:
            return "填空题";
        case QuestionKind::Manual:
            return "简答题";
        case QuestionKind::Matching:
            return "匹配题";
        case QuestionKind::Cloze:
            return "嵌入答案题";
    }
    return "简答题";
}

bool PlannedPaper::MakesPaper() const {
    return std::any_of(questions.begin(), questions.end(),
                       [](const PlannedQuestion& q) { return !q.inPlace; });
}

int ImportPlan::Added() const {
    int count = 0;
    for (const PlannedPaper& paper : papers) {
        count +=
            static_cast<int>(std::count_if(paper.questions.begin(), paper.questions.end(),
                                           [](const PlannedQuestion& q) { return !q.update; }));
    }
    return count;
}

int ImportPlan::Updated() const {
    int count = 0;
    for (const PlannedPaper& paper : papers) {
        count += static_cast<int>(paper.questions.size());
    }
    return count - Added();
}

Result<ImportPlan> PlanImport(DataStore& store, std::vector<ImportFile> files,
                              const ImportOptions& options) {
    Bank bank;
    if (std::optional<Error> failed = ReadBank(store, bank)) {
        return *failed;
    }
    if (options.knowledgeRoot != 0 &&
        std::none_of(bank.points.begin(), bank.points.end(),
                     [&](const Point& point) { return point.id == options.knowledgeRoot; })) {
        return Error{ErrorCode::NotFound,
                     Format("knowledge point %d does not exist", options.knowledgeRoot)};
    }
    ImportPlan plan;
    plan.skipBad = options.skipBad;
    Planner planner(bank, options, plan);
    for (ImportFile& file : files) {
        if (std::optional<Error> failed = planner.Paper(file, store)) {
            return *failed;
        }
    }
    return plan;
}

std::vector<std::string> ImportLines(const ImportPlan& plan) {
    std::vector<std::string> lines;
    for (const PlannedPaper& paper : plan.papers) {
        for (const PlannedQuestion& planned : paper.questions) {
            lines.push_back(Format("%06d\t%s\t%s\t%s", planned.id, KindName(planned.question.kind),
                                   planned.typeTitle.c_str(),
                                   planned.question.place.Short().c_str()));
        }
    }
    const auto warn = [&](const std::string& place, const std::string& text) {
        lines.push_back("WARN\t" + place + "\t" + text);
    };
    for (const ImportProblem& warning : plan.warnings) {
        warn(ShortPlace(warning.place), warning.text);
    }
    if (plan.skipBad) {
        for (const ImportProblem& problem : plan.problems) {
            warn(ShortPlace(problem.place), "已跳过：" + problem.text);
        }
    }
    int missing = 0;
    for (const PlannedPaper& paper : plan.papers) {
        for (const MissingQuestion& gone : paper.missing) {
            warn(KeyPlace(gone.sourceKey),
                 Format("文件中已没有这道题；试题 %06d 仍留在题库中", gone.id));
            ++missing;
        }
    }
    int unchanged = 0;
    size_t papers = 0;
    for (const PlannedPaper& paper : plan.papers) {
        unchanged += paper.unchanged;
        papers += paper.MakesPaper() ? 1 : 0;
    }
    lines.push_back(
        Format("共 %d 题：新增 %d 题，更新 %d 题；%zu 个试卷，%zu 个新题型，%zu 个新知识点",
               plan.Added() + plan.Updated(), plan.Added(), plan.Updated(), papers,
               plan.newTypes.size(), plan.newPoints.size()) +
        (unchanged > 0 ? Format("；%d 题与题库相同，未改动", unchanged) : std::string()) +
        (plan.skipBad && !plan.problems.empty() ? Format("；跳过 %zu 处问题", plan.problems.size())
                                                : std::string()) +
        (missing > 0 ? Format("；文件中已没有 %d 题", missing) : std::string()));
    return lines;
}

std::vector<std::string> ImportOverview(const ImportPlan& plan) {
    static const std::pair<QuestionKind, const char*> kKinds[] = {
        {QuestionKind::SingleChoice, "单选题"}, {QuestionKind::MultipleChoice, "多选题"},
        {QuestionKind::TrueFalse, "判断题"},    {QuestionKind::FillBlank, "填空题"},
        {QuestionKind::Manual, "人工评分题"},   {QuestionKind::Matching, "匹配题"},
        {QuestionKind::Cloze, "嵌入答案题"}};
    std::string kinds;
    for (const auto& [kind, name] : kKinds) {
        int count = 0;
        for (const PlannedPaper& paper : plan.papers) {
            count += static_cast<int>(std::count_if(
                paper.questions.begin(), paper.questions.end(),
                [kind = kind](const PlannedQuestion& q) { return q.question.kind == kind; }));
        }
        if (count > 0) {
            kinds += Format("%s%s %d 题", kinds.empty() ? "" : "，", name, count);
        }
    }
    std::vector<std::pair<std::string, int>> sections;
    for (const PlannedPaper& paper : plan.papers) {
        for (const PlannedQuestion& planned : paper.questions) {
            const std::string name =
                planned.question.section.empty() ? "（无分组）" : planned.question.section;
            auto found = std::find_if(sections.begin(), sections.end(),
                                      [&](const auto& section) { return section.first == name; });
            if (found == sections.end()) {
                sections.emplace_back(name, 0);
                found = sections.end() - 1;
            }
            ++found->second;
        }
    }
    std::string bySection;
    for (const auto& [name, count] : sections) {
        bySection += Format("%s%s %d 题", bySection.empty() ? "" : "，", name.c_str(), count);
    }
    return {"按题型：" + (kinds.empty() ? std::string("无") : kinds),
            "按工作表或标题：" + (bySection.empty() ? std::string("无") : bySection)};
}

std::vector<std::string> ProblemLines(const ImportPlan& plan) {
    std::vector<std::string> lines;
    for (const ImportProblem& problem : plan.problems) {
        lines.push_back(problem.place.Text() + ": " + problem.text);
    }
    return lines;
}

}  // namespace quillory
