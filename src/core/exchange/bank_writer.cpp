#include "core/exchange/bank_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <system_error>

#include "core/bank/bank_pages.h"
#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/exchange/import_answer_form.h"
#include "core/exchange/import_pages.h"
#include "core/generation/paper_generation.h"
#include "core/host/host.h"
#include "core/store/data_store.h"
#include "core/store/ids.h"
#include "core/store/jet_dialect.h"

namespace quillory {

namespace fs = std::filesystem;

namespace {

// A file (or a question's folder of images) the import writes.
struct NewFile {
    std::string relative;  // below the data folder
    std::string bytes;
};

// What an import writes and replaces, gathered before anything is.
class Writing {
public:
    Writing(DataStore& store, std::string dataFolder)
        : store_(store), dataFolder_(std::move(dataFolder)) {}

    // A name in the folder ("Question", "Knowledge") that neither a file
    // there nor anything else of this import has: base, else base-2,
    // base-3…, with each suffix of the name free too.
    std::string FreeStem(const std::string& folder, const std::string& base,
                         const std::vector<std::string>& suffixes) {
        for (int n = 1;; ++n) {
            const std::string stem = n == 1 ? base : Format("%s-%d", base.c_str(), n);
            bool free = true;
            for (const std::string& suffix : suffixes) {
                const std::string relative = folder + "/" + stem + suffix;
                std::error_code ec;
                free = free && claimed_.count(relative) == 0 &&
                       !fs::exists(fs::path(dataFolder_) / relative, ec);
            }
            if (free) {
                for (const std::string& suffix : suffixes) {
                    claimed_.insert(folder + "/" + stem + suffix);
                }
                return stem;
            }
        }
    }

    void Add(std::string relative, std::string bytes) {
        files_.push_back({std::move(relative), std::move(bytes)});
    }
    void AddPage(std::string relative, const std::string& html) {
        Add(std::move(relative), GbPageFromUtf8(html));
    }
    void Replaces(const std::string& location) {
        if (!Trim(location).empty()) {
            replaced_.push_back(location);
        }
    }

    Status WriteFiles(Progress& progress) {
        for (const NewFile& file : files_) {
            const fs::path path = fs::path(dataFolder_) / file.relative;
            std::error_code ec;
            fs::create_directories(path.parent_path(), ec);
            written_.push_back(path.string());
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << file.bytes;
            out.close();
            if (!out) {
                return Error{ErrorCode::FileAccess, path.string() + ": cannot write the page"};
            }
            progress.StepIt();
            progress.PeekAndPump(false);
        }
        return {};
    }

    // After a failure: what this import wrote goes.
    void RemoveWritten() {
        std::error_code ec;
        for (const std::string& path : written_) {
            fs::remove(path, ec);
        }
        for (const std::string& relative : claimed_) {
            if (EndsWith(relative, "_files")) {
                fs::remove_all(fs::path(dataFolder_) / relative, ec);
            }
        }
    }

    // Once the rows are stored: the pages they no longer name, with the
    // images of a replaced question page, if they lie in the data folder and
    // no row names them.
    void RemoveReplaced() {
        const std::set<std::string> named = NamedFiles();
        std::error_code ec;
        for (const std::string& location : replaced_) {
            const PageLocation page = ResolveLocation(dataFolder_, location);
            if (page.kind != LocationKind::Local || named.count(page.path) != 0) {
                continue;
            }
            fs::remove(page.path, ec);
            if (EndsWith(page.path, ".html") && !EndsWith(page.path, "a.html")) {
                const std::string media = page.path.substr(0, page.path.size() - 5) + "_files";
                if (LiesInFolder(dataFolder_, media) && fs::is_directory(media, ec)) {
                    fs::remove_all(media, ec);
                }
            }
        }
    }

    size_t FileCount() const { return files_.size(); }

private:
    std::set<std::string> NamedFiles() {
        std::set<std::string> named;
        for (const char* query : {"select Url from Question",
                                  "select AnswerUrl as Url from Question", "select Url from Paper",
                                  "select Url from Knowledge", "select Url from PaperTemplate"}) {
            auto rows = store_.Query(query);
            for (; rows && !rows->AtEnd(); rows->Next()) {
                const PageLocation page = ResolveLocation(dataFolder_, rows->Text("Url"));
                if (page.kind == LocationKind::Local) {
                    named.insert(page.path);
                }
            }
        }
        return named;
    }

    DataStore& store_;
    std::string dataFolder_;
    std::vector<NewFile> files_;
    std::set<std::string> claimed_;
    std::vector<std::string> written_;
    std::vector<std::string> replaced_;
};

std::string Joined(const std::vector<int>& ids) {
    std::string text;
    for (int id : ids) {
        text += (text.empty() ? "" : ",") + std::to_string(id);
    }
    return text;
}

std::string QuestionStatement(const PlannedQuestion& planned, const std::string& url,
                              const std::string& answerUrl) {
    const std::string form = ImportedAnswerForm(planned.question);
    const int level = planned.question.level.value_or(0);
    if (planned.update) {
        return Format(
            "update Question set TypeID=%d, Level=%d, Url='%s', Answer='%s', AnswerUrl='%s', "
            "Knowledge='%s' where ID=%d",
            planned.typeId, level, SqlQuote(url).c_str(), SqlQuote(form).c_str(),
            SqlQuote(answerUrl).c_str(), Joined(planned.knowledgeIds).c_str(), planned.id);
    }
    return Format(
        "insert into Question(ID, TypeID, Level, Url, Answer, AnswerUrl, Knowledge, KeyWord, "
        "GroupID) values(%d, %d, %d, '%s', '%s', '%s', '%s', '', '')",
        planned.id, planned.typeId, level, SqlQuote(url).c_str(), SqlQuote(form).c_str(),
        SqlQuote(answerUrl).c_str(), Joined(planned.knowledgeIds).c_str());
}

std::string PaperInsert(const GeneratedRow& row) {
    return Format(
        "insert into Paper(ID, SuperiorID, QuestionID, Score, TimeLimit, Title, Url, IsQuestion, "
        "IsReference, IsSystem) values(%d, %d, %d, %f, 0, '%s', '%s', %s, %s, false)",
        row.id, row.superiorId, row.questionId, row.score, SqlQuote(row.title).c_str(),
        SqlQuote(row.url).c_str(), row.isQuestion ? "true" : "false",
        row.superiorId == 0 ? "true" : "false");
}

// The rows below a paper of an earlier import, as they are.
struct EarlierPaper {
    std::vector<int> rows;                // every row below the paper
    std::map<std::string, int> sections;  // ID by title
    std::map<int, int> items;             // ID by question
    std::vector<std::string> urls;        // of the paper and every row below it
};

std::optional<EarlierPaper> ReadEarlierPaper(DataStore& store, int paperId) {
    auto rows = store.Query("select ID, SuperiorID, QuestionID, Title, Url from Paper");
    if (!rows) {
        return std::nullopt;
    }
    struct Row {
        int id, superiorId, questionId;
        std::string title, url;
    };
    std::vector<Row> all;
    for (; !rows->AtEnd(); rows->Next()) {
        all.push_back({rows->Int("ID"), rows->Int("SuperiorID"), rows->Int("QuestionID"),
                       rows->Text("Title"), rows->Text("Url")});
    }
    EarlierPaper earlier;
    std::set<int> below{paperId};
    // Breadth-first over the parent links; a cycle ends at rows seen before.
    for (bool grew = true; grew;) {
        grew = false;
        for (const Row& row : all) {
            if (row.id == paperId) {
                continue;
            }
            if (below.count(row.superiorId) != 0 && below.insert(row.id).second) {
                grew = true;
                earlier.rows.push_back(row.id);
                earlier.urls.push_back(row.url);
                if (row.questionId != 0) {
                    earlier.items.emplace(row.questionId, row.id);
                } else {
                    earlier.sections.emplace(Trim(row.title), row.id);
                }
            }
        }
    }
    for (const Row& row : all) {
        if (row.id == paperId) {
            earlier.urls.push_back(row.url);
        }
    }
    return earlier;
}

struct Section {
    std::string name;
    std::vector<const PlannedQuestion*> questions;
    double score = 0;
};

std::vector<Section> SectionsOf(const PlannedPaper& paper) {
    std::vector<Section> sections;
    for (const PlannedQuestion& planned : paper.questions) {
        if (planned.inPlace) {
            continue;
        }
        const std::string name = Trim(planned.question.section);
        auto found = std::find_if(sections.begin(), sections.end(),
                                  [&](const Section& section) { return section.name == name; });
        if (found == sections.end()) {
            sections.push_back({name, {}, 0});
            found = sections.end() - 1;
        }
        found->questions.push_back(&planned);
        found->score += planned.score;
    }
    return sections;
}

// The rows of one paper and its pages; the statements that put them in.
Status PlanPaper(DataStore& store, Writing& writing, const PlannedPaper& paper, int& nextId,
                 std::vector<std::string>& statements, int& paperId) {
    EarlierPaper earlier;
    if (paper.existingId != 0) {
        std::optional<EarlierPaper> read = ReadEarlierPaper(store, paper.existingId);
        if (!read) {
            return Error{ErrorCode::Database, store.LastError()};
        }
        earlier = std::move(*read);
        for (const std::string& url : earlier.urls) {
            writing.Replaces(url);
        }
        if (!earlier.rows.empty()) {
            statements.push_back("delete from Paper where ID in (" + Joined(earlier.rows) + ")");
        }
    }
    paperId = paper.existingId != 0 ? paper.existingId : nextId++;
    const std::vector<Section> sections = SectionsOf(paper);
    const bool twoDigits = sections.size() >= 10;
    std::vector<SectionFacts> facts;
    std::vector<GeneratedRow> rows;
    double total = 0;
    int number = 0;
    for (size_t s = 0; s < sections.size(); ++s) {
        const Section& section = sections[s];
        const std::string title = Format(twoDigits ? "第%02zu部分" : "第%zu部分", s + 1) +
                                  (section.name.empty() ? "" : " " + section.name);
        const auto reused = earlier.sections.find(title);
        GeneratedRow row;
        row.id = reused != earlier.sections.end() ? reused->second : nextId++;
        row.superiorId = paperId;
        row.score = section.score;
        row.title = title;
        const std::string stem = writing.FreeStem("Question", Format("P%06d", row.id), {".html"});
        row.url = "Question/" + stem + ".html";
        const SectionFacts fact{title, static_cast<int>(section.questions.size()), section.score};
        writing.AddPage(row.url, ImportedSectionPage(paper.title, fact));
        facts.push_back(fact);
        total += section.score;
        rows.push_back(row);
        for (const PlannedQuestion* planned : section.questions) {
            const auto item = earlier.items.find(planned->id);
            GeneratedRow itemRow;
            itemRow.id = item != earlier.items.end() ? item->second : nextId++;
            itemRow.superiorId = row.id;
            itemRow.questionId = planned->id;
            itemRow.score = planned->score;
            itemRow.title = Format("第%03d题", ++number);
            itemRow.isQuestion = true;
            rows.push_back(itemRow);
        }
    }
    const std::string stem = writing.FreeStem("Question", Format("P%06d", paperId), {".html"});
    const std::string url = "Question/" + stem + ".html";
    writing.AddPage(url, ImportedPaperPage(paper.fileName, facts));
    if (paper.existingId != 0) {
        statements.push_back(
            Format("update Paper set Score=%f, Url='%s', IsReference=true where ID=%d", total,
                   SqlQuote(url).c_str(), paperId));
    } else {
        GeneratedRow top;
        top.id = paperId;
        top.score = total;
        top.title = paper.title;
        top.url = url;
        statements.push_back(PaperInsert(top));
    }
    for (const GeneratedRow& row : rows) {
        statements.push_back(PaperInsert(row));
    }
    return {};
}

void PlanQuestion(Writing& writing, const PlannedPaper& paper, const PlannedQuestion& planned,
                  int paperId, std::vector<std::string>& statements) {
    const std::string stem =
        writing.FreeStem("Question", Format("%06d", planned.id), {".html", "a.html", "_files"});
    const std::string url = "Question/" + stem + ".html";
    const std::string answerUrl = "Question/" + stem + "a.html";
    const std::string media = stem + "_files";
    writing.AddPage(url, ImportedQuestionPage(planned.question, planned.typeTitle, media));
    writing.AddPage(answerUrl, ImportedAnswerPage(planned.question, media));
    for (const MediaFile& file : planned.question.media) {
        writing.Add("Question/" + media + "/" + file.name, file.bytes);
    }
    if (planned.update) {
        writing.Replaces(planned.oldUrl);
        writing.Replaces(planned.oldAnswerUrl);
    }
    statements.push_back(QuestionStatement(planned, url, answerUrl));
    if (planned.inPlace) {
        return;
    }
    statements.push_back(Format(
        "delete from ImportedSource where QuestionID=%d or (PaperTitle='%s' and SourceKey='%s')",
        planned.id, SqlQuote(paper.title).c_str(), SqlQuote(planned.sourceKey).c_str()));
    statements.push_back(Format(
        "insert into ImportedSource(QuestionID, PaperID, PaperTitle, SourceKey) values(%d, %d, "
        "'%s', '%s')",
        planned.id, paperId, SqlQuote(paper.title).c_str(), SqlQuote(planned.sourceKey).c_str()));
}

}  // namespace

Result<std::vector<int>> WriteImport(DataStore& store, const std::string& dataFolder,
                                     const ImportPlan& plan, Progress& progress) {
    if (plan.Refused()) {
        return Error{ErrorCode::BadInput, "the import has problems and bad rows are not skipped"};
    }
    int nextId = NextPaperID(store);
    if (nextId == 0) {
        return Error{ErrorCode::Database, store.LastError()};
    }
    Writing writing(store, dataFolder);
    std::vector<std::string> statements;
    for (const NewQuestionType& type : plan.newTypes) {
        statements.push_back(Format("insert into QuestionType(ID, Title) values(%d, '%s')", type.id,
                                    SqlQuote(type.title).c_str()));
    }
    for (const NewKnowledgePoint& point : plan.newPoints) {
        const std::string stem = writing.FreeStem("Knowledge", Format("%06d", point.id), {".html"});
        const std::string url = "Knowledge/" + stem + ".html";
        writing.AddPage(url, ImportedKnowledgePage(point.title, point.parents));
        statements.push_back(Format(
            "insert into Knowledge(ID, SuperiorID, Title, Url, KeyWord, Weight) values(%d, %d, "
            "'%s', '%s', '', 1)",
            point.id, point.superiorId, SqlQuote(point.title).c_str(), SqlQuote(url).c_str()));
    }
    std::vector<int> paperIds;
    for (const PlannedPaper& paper : plan.papers) {
        int paperId = 0;
        // A file of questions updated in place only makes or rebuilds no paper.
        if (paper.MakesPaper()) {
            if (Status planned = PlanPaper(store, writing, paper, nextId, statements, paperId);
                !planned) {
                return planned.error();
            }
        }
        paperIds.push_back(paperId);
        for (const PlannedQuestion& question : paper.questions) {
            PlanQuestion(writing, paper, question, paperId, statements);
        }
    }

    progress.SetRange(0, static_cast<int>(writing.FileCount() + statements.size()), 1);
    if (Status written = writing.WriteFiles(progress); !written) {
        writing.RemoveWritten();
        return written.error();
    }
    Transaction transaction(store);
    bool stored = transaction.Active();
    for (size_t s = 0; stored && s < statements.size(); ++s) {
        stored = store.Execute(statements[s]);
        progress.StepIt();
    }
    if (!stored || !transaction.Commit()) {
        const std::string reason = store.LastError();
        writing.RemoveWritten();
        return Error{ErrorCode::Database, reason};
    }
    writing.RemoveReplaced();
    return paperIds;
}

}  // namespace quillory
