#include "core/exchange/bank_questions.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/common/whole_file.h"
#include "core/exchange/page_parts.h"
#include "core/exchange/question_fields.h"
#include "core/pages/html_writer.h"
#include "core/practice/answer_form.h"
#include "core/practice/paper_tree.h"
#include "core/store/data_store.h"

namespace quillory {

namespace {

struct Point {
    int superiorId = 0;
    std::string title;
};

struct BankFacts {
    std::map<int, std::string> types;
    std::map<int, Point> points;
};

// A question to read and where it stands in the selection.
struct Wanted {
    int id = 0;
    std::string section;
    std::optional<double> score;
};

std::optional<Error> ReadFacts(DataStore& store, BankFacts& facts) {
    auto types = store.Query("select ID, Title from QuestionType");
    if (!types) {
        return store.LastFailure();
    }
    for (; !types->AtEnd(); types->Next()) {
        facts.types[types->Int("ID")] = Trim(types->Text("Title"));
    }
    auto points = store.Query("select ID, SuperiorID, Title from Knowledge");
    if (!points) {
        return store.LastFailure();
    }
    for (; !points->AtEnd(); points->Next()) {
        facts.points[points->Int("ID")] = {points->Int("SuperiorID"), Trim(points->Text("Title"))};
    }
    return std::nullopt;
}

std::string KnowledgePath(const BankFacts& facts, int id) {
    std::string path;
    std::set<int> seen;
    for (auto point = facts.points.find(id); point != facts.points.end() && seen.insert(id).second;
         point = facts.points.find(id = point->second.superiorId)) {
        path = point->second.title + (path.empty() ? "" : "/" + path);
    }
    return path;
}

std::string Letter(size_t index) {
    return std::string(1, static_cast<char>('A' + index));
}

// A stored value (line breaks written as the stored mark) as an HTML fragment.
std::string StoredValueHtml(std::string value) {
    ReplaceAll(value, std::string(kStoredLineBreak), "\n");
    std::string html = HtmlText(Trim(value));
    ReplaceAll(html, "\n", "<br>");
    return html;
}

struct Judged {
    std::vector<const AnswerControl*> controls;  // all but labels
    bool autoJudge = true;
};

bool AllOf(const Judged& group, ControlKind kind) {
    return std::all_of(group.controls.begin(), group.controls.end(),
                       [kind](const AnswerControl* c) { return KindOf(*c) == kind; });
}

bool LetterCaptions(const Judged& group) {
    for (size_t c = 0; c < group.controls.size(); ++c) {
        if (c >= 26 || Trim(group.controls[c]->caption) != Letter(c)) {
            return false;
        }
    }
    return true;
}

std::vector<int> RightOnes(const Judged& group) {
    std::vector<int> right;
    for (size_t c = 0; c < group.controls.size(); ++c) {
        if (Trim(group.controls[c]->correctValue) == "1") {
            right.push_back(static_cast<int>(c));
        }
    }
    return right;
}

// The kind, keys and slots the answer form says; false when it says no known
// kind (the question is then manual).
bool ReadForm(const std::string& description, ImportedQuestion& q, size_t& captions) {
    const AnswerForm form = ParseAnswerForm(description, "");
    std::vector<Judged> groups;
    for (const AnswerGroup& group : form.groups) {
        Judged judged{{}, group.autoJudge};
        for (const AnswerControl& control : group.controls) {
            if (KindOf(control) != ControlKind::Label) {
                judged.controls.push_back(&control);
            }
        }
        if (!judged.controls.empty()) {
            groups.push_back(std::move(judged));
        }
    }
    q.kind = QuestionKind::Manual;
    for (const Judged& group : groups) {
        for (const AnswerControl* control : group.controls) {
            if (KindOf(*control) == ControlKind::EditMultiline) {
                q.referenceAnswer = StoredValueHtml(control->correctValue);
                return true;
            }
        }
        if (!group.autoJudge) {
            return true;
        }
    }
    if (groups.size() == 1 && AllOf(groups[0], ControlKind::Radio)) {
        const Judged& group = groups[0];
        const std::vector<int> right = RightOnes(group);
        // 对/错, 正确/错误, √/×… in either order.
        if (group.controls.size() == 2 && right.size() == 1) {
            const std::optional<bool> first = ReadTrueFalseKey(group.controls[0]->caption);
            const std::optional<bool> second = ReadTrueFalseKey(group.controls[1]->caption);
            if (first && second && *first != *second) {
                q.kind = QuestionKind::TrueFalse;
                q.trueFalseKey = right[0] == 0 ? *first : *second;
                return true;
            }
        }
        if (LetterCaptions(group) && right.size() == 1) {
            q.kind = QuestionKind::SingleChoice;
            q.rightOptions = right;
            captions = group.controls.size();
            return true;
        }
        return false;
    }
    if (groups.size() == 1 && AllOf(groups[0], ControlKind::Check) && LetterCaptions(groups[0]) &&
        !RightOnes(groups[0]).empty()) {
        q.kind = QuestionKind::MultipleChoice;
        q.rightOptions = RightOnes(groups[0]);
        captions = groups[0].controls.size();
        return true;
    }
    const bool onlyEdits =
        !groups.empty() && std::all_of(groups.begin(), groups.end(),
                                       [](auto& g) { return AllOf(g, ControlKind::Edit); });
    if (onlyEdits) {
        q.kind = QuestionKind::FillBlank;
        for (const Judged& group : groups) {
            for (const AnswerControl* control : group.controls) {
                q.blanks.push_back({Trim(control->correctValue)});
            }
        }
        return true;
    }
    if (groups.size() < 2) {
        return groups.empty();
    }
    // Several groups, each a choice among radio buttons or one edit box.
    for (const Judged& group : groups) {
        const bool choice = AllOf(group, ControlKind::Radio) && RightOnes(group).size() == 1;
        const bool edit = group.controls.size() == 1 && AllOf(group, ControlKind::Edit);
        if (!choice && !edit) {
            q.answerSlots.clear();
            return false;
        }
        AnswerSlot slot;
        if (choice) {
            for (const AnswerControl* control : group.controls) {
                slot.choices.push_back(HtmlText(Trim(control->caption)));
            }
            slot.rightChoice = RightOnes(group).front();
        } else {
            slot.accepted = {Trim(group.controls[0]->correctValue)};
        }
        q.answerSlots.push_back(std::move(slot));
    }
    q.kind = QuestionKind::Cloze;
    return true;
}

// Embedded answers all choosing among the same number of choices: a
// matching question when its page lists the choices once, as options.
bool MayBeMatching(const ImportedQuestion& q) {
    return q.kind == QuestionKind::Cloze &&
           std::all_of(q.answerSlots.begin(), q.answerSlots.end(), [&](const AnswerSlot& slot) {
               return !slot.choices.empty() &&
                      slot.choices.size() == q.answerSlots.front().choices.size();
           });
}

void AsMatching(ImportedQuestion& q, const QuestionPageParts& page) {
    if (!page.optionsFound || page.numbered.size() != q.answerSlots.size()) {
        q.options.clear();
        return;
    }
    q.kind = QuestionKind::Matching;
    for (size_t n = 0; n < q.answerSlots.size(); ++n) {
        q.answerSlots[n].prompt = page.numbered[n];
        q.answerSlots[n].choices.clear();
    }
}

class QuestionReader {
public:
    QuestionReader(const std::string& dataFolder, const BankFacts& facts, ImportReading& reading)
        : dataFolder_(dataFolder), facts_(facts), reading_(reading) {}

    void Read(RowSet& row, const Wanted& wanted) {
        ImportedQuestion q;
        q.existingId = wanted.id;
        q.sourceKey = std::to_string(wanted.id);
        q.place.file = q.sourceKey;
        q.section = wanted.section;
        q.score = wanted.score;
        const int level = row.Int("Level");
        if (level >= 1 && level <= 5) {
            q.level = level;
        }
        const auto type = facts_.types.find(row.Int("TypeID"));
        if (type != facts_.types.end()) {
            q.typeTitle = type->second;
        }
        for (const std::string& id : SplitString(row.Text("Knowledge"), ",")) {
            const std::string path = KnowledgePath(facts_, AtoI(id));
            if (!Trim(id).empty() && !path.empty() &&
                std::find(q.knowledgePaths.begin(), q.knowledgePaths.end(), path) ==
                    q.knowledgePaths.end()) {
                q.knowledgePaths.push_back(path);
            }
        }
        size_t captions = 0;
        if (!ReadForm(row.Text("Answer"), q, captions)) {
            Warn(q, "作答区不属于已知的题型，按简答题导出");
        }

        const std::string url = row.Text("Url");
        const std::string answerUrl = row.Text("AnswerUrl");
        const bool matching = MayBeMatching(q);
        if (matching) {
            captions = q.answerSlots.front().choices.size();
        }
        const QuestionPageParts page = ReadQuestionPage(Page(q, url, "题面"), captions);
        q.stem = page.stem;
        q.options = page.options;
        if (matching) {
            AsMatching(q, page);
        } else if (!page.optionsFound) {
            Warn(q, "选项无法从题面中分开，整个题面作为题干，选项只写字母");
            q.options.clear();
            for (size_t c = 0; c < captions; ++c) {
                q.options.push_back(Letter(c));
            }
        }
        const AnswerPageParts answer = Trim(answerUrl).empty()
                                           ? AnswerPageParts{}
                                           : ReadAnswerPage(Page(q, answerUrl, "答案页"));
        q.analysis = answer.analysis;
        if (q.kind == QuestionKind::Manual && !answer.key.empty()) {
            q.referenceAnswer = answer.key;
        }
        if (Trim(q.stem).empty()) {
            Warn(q, "题面是空的");
        }

        q.stem = WithMedia(q, q.stem, url);
        for (std::string& option : q.options) {
            option = WithMedia(q, option, url);
        }
        for (AnswerSlot& slot : q.answerSlots) {
            slot.prompt = WithMedia(q, slot.prompt, url);
        }
        q.analysis = WithMedia(q, q.analysis, answerUrl);
        q.referenceAnswer = WithMedia(q, q.referenceAnswer, answerUrl);
        reading_.questions.push_back(std::move(q));
    }

private:
    void Warn(const ImportedQuestion& q, std::string text) {
        reading_.warnings.push_back({q.place, std::move(text)});
    }

    std::string Page(const ImportedQuestion& q, const std::string& url, const char* what) {
        const PageLocation location = ResolveLocation(dataFolder_, url);
        if (location.kind == LocationKind::Local) {
            WholeFile file = ReadWholeFile(location.path);
            if (file.result == FileRead::Read) {
                return std::move(file.bytes);
            }
        }
        Warn(q, std::string(what) + "“" + Trim(url) + "”无法读取");
        return {};
    }

    // The fragment with its pictures among the question's media, by a plain
    // name of their own.
    std::string WithMedia(ImportedQuestion& q, std::string fragment, const std::string& pageUrl) {
        for (const std::string& source : ImageSources(fragment)) {
            const auto known = std::find_if(q.media.begin(), q.media.end(),
                                            [&](const MediaFile& m) { return m.name == source; });
            if (known != q.media.end() || StartsWithNoCase(source, "data:")) {
                continue;
            }
            const PageLocation location =
                ResolveLocation(dataFolder_, LocationBeside(pageUrl, source));
            WholeFile file =
                location.kind == LocationKind::Local ? ReadWholeFile(location.path) : WholeFile{};
            if (file.result != FileRead::Read) {
                Warn(q, "图片“" + source + "”无法读取，未导出");
                continue;
            }
            const std::string base = std::filesystem::path(location.path).filename().string();
            std::string name = base;
            for (int n = 2; std::any_of(q.media.begin(), q.media.end(),
                                        [&](const MediaFile& m) { return m.name == name; });
                 ++n) {
                name = Format("%d_%s", n, base.c_str());
            }
            q.media.push_back({name, std::move(file.bytes)});
            fragment = WithImageSource(std::move(fragment), source, name);
        }
        return fragment;
    }

    const std::string& dataFolder_;
    const BankFacts& facts_;
    ImportReading& reading_;
};

Result<ImportReading> ReadWanted(DataStore& store, const std::string& dataFolder,
                                 const std::vector<Wanted>& wanted) {
    BankFacts facts;
    if (std::optional<Error> failed = ReadFacts(store, facts)) {
        return *failed;
    }
    ImportReading reading;
    QuestionReader reader(dataFolder, facts, reading);
    for (const Wanted& one : wanted) {
        auto row = store.Query(Format(
            "select TypeID, Level, Url, Answer, AnswerUrl, Knowledge from Question where ID=%d",
            one.id));
        if (!row) {
            return store.LastFailure();
        }
        if (!row->AtEnd()) {
            reader.Read(*row, one);
        }
    }
    return reading;
}

// "第1部分 单项选择题" → "单项选择题": the import numbers its sections anew.
std::string SectionName(const std::string& title) {
    const std::string trimmed = Trim(title);
    const size_t part = trimmed.find("部分");
    if (StartsWith(trimmed, "第") && part != std::string::npos) {
        const std::string number = trimmed.substr(3, part - 3);
        if (!number.empty() && std::all_of(number.begin(), number.end(),
                                           [](char c) { return c >= '0' && c <= '9'; })) {
            return Trim(trimmed.substr(part + std::string_view("部分").size()));
        }
    }
    return trimmed;
}

Result<std::vector<Wanted>> PaperQuestions(DataStore& store, int id) {
    const std::optional<PaperNodeList> nodes = LoadPaperTreeRows(store, id, PaperFilter::All);
    if (!nodes) {
        return store.LastFailure();
    }
    if (nodes->Empty() || (*nodes)[0].id != id) {
        return Error{ErrorCode::NotFound, Format("paper %d does not exist", id)};
    }
    std::map<int, double> scores;
    auto rows = store.Query("select ID, Score from Paper where IsQuestion=true");
    if (!rows) {
        return store.LastFailure();
    }
    for (; !rows->AtEnd(); rows->Next()) {
        scores[rows->Int("ID")] = rows->Single("Score");
    }
    std::vector<Wanted> wanted;
    for (const PaperNode& node : nodes->Nodes()) {
        if (node.questionId == 0) {
            continue;
        }
        Wanted one{node.questionId, "", std::nullopt};
        const int parent = nodes->IndexOf(node.superiorId);
        if (parent >= 0 && (*nodes)[static_cast<size_t>(parent)].superiorId != 0) {
            one.section = SectionName((*nodes)[static_cast<size_t>(parent)].title);
        }
        if (scores.count(node.id) != 0 && scores[node.id] > 0) {
            one.score = scores[node.id];
        }
        wanted.push_back(one);
    }
    return wanted;
}

Result<std::vector<Wanted>> KnowledgeQuestions(DataStore& store, int id, bool all) {
    std::set<int> points;
    if (!all) {
        BankFacts facts;
        if (std::optional<Error> failed = ReadFacts(store, facts)) {
            return *failed;
        }
        if (facts.points.count(id) == 0) {
            return Error{ErrorCode::NotFound, Format("knowledge point %d does not exist", id)};
        }
        points.insert(id);
        for (bool grew = true; grew;) {
            grew = false;
            for (const auto& [pointId, point] : facts.points) {
                grew =
                    (points.count(point.superiorId) != 0 && points.insert(pointId).second) || grew;
            }
        }
    }
    auto rows = store.Query("select ID, Knowledge from Question order by ID");
    if (!rows) {
        return store.LastFailure();
    }
    std::vector<Wanted> wanted;
    for (; !rows->AtEnd(); rows->Next()) {
        const std::vector<std::string> ids = SplitString(rows->Text("Knowledge"), ",");
        if (all || std::any_of(ids.begin(), ids.end(), [&](const std::string& point) {
                return points.count(AtoI(point)) != 0;
            })) {
            wanted.push_back({rows->Int("ID"), "", std::nullopt});
        }
    }
    return wanted;
}

}  // namespace

Result<ImportReading> ReadBankQuestions(DataStore& store, const std::string& dataFolder,
                                        const QuestionSelection& selection) {
    Result<std::vector<Wanted>> wanted =
        selection.scope == QuestionScope::Paper
            ? PaperQuestions(store, selection.id)
            : KnowledgeQuestions(store, selection.id, selection.scope == QuestionScope::All);
    if (!wanted.ok()) {
        return wanted.error();
    }
    return ReadWanted(store, dataFolder, *wanted);
}

Result<ImportReading> ReadBankQuestionsById(DataStore& store, const std::string& dataFolder,
                                            const std::vector<int>& ids) {
    std::vector<Wanted> wanted;
    for (int id : ids) {
        wanted.push_back({id, "", std::nullopt});
    }
    return ReadWanted(store, dataFolder, wanted);
}

}  // namespace quillory
