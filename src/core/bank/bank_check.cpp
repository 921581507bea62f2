#include "core/bank/bank_check.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>
#include <utility>
#include <vector>

#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/practice/answer_form.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

constexpr const char* kControlKinds[] = {"label", "radio", "check", "edit", "editmutiline"};

struct TreeRow {
    int id = 0;
    int superior = 0;
};

class BankChecker {
public:
    BankChecker(DataStore& store, std::string dataFolder)
        : store_(store), dataFolder_(std::move(dataFolder)) {}

    std::vector<std::string> Run() {
        const auto types = Readable("QuestionType", ReadQuestionTypeRows(store_));
        if (!types) {
            return std::move(problems_);
        }
        const auto knowledge = Readable("Knowledge", ReadKnowledgeRows(store_));
        if (!knowledge) {
            return std::move(problems_);
        }
        const auto questions = Readable("Question", ReadQuestionRows(store_));
        if (!questions) {
            return std::move(problems_);
        }
        for (const QuestionTypeRow& row : *types) {
            typeIds_.insert(row.ID);
        }
        for (const KnowledgeRow& row : *knowledge) {
            knowledgeIds_.insert(row.ID);
        }
        for (const QuestionRow& row : *questions) {
            questionIds_.insert(row.ID);
        }
        CheckKnowledge(*knowledge);
        CheckQuestions(*questions);
        if (const auto papers = Readable("Paper", ReadPaperRows(store_))) {
            CheckPapers(*papers);
        }
        if (const auto templates = Readable("PaperTemplate", ReadPaperTemplateRows(store_))) {
            CheckTemplates(*templates, *questions);
        }
        return std::move(problems_);
    }

private:
    template <typename Rows>
    Rows Readable(const char* table, Rows rows) {
        if (!rows) {
            Problem(Format("无法读取表 %s: %s", table, store_.LastError().c_str()));
        }
        return rows;
    }

    void CheckKnowledge(const std::vector<KnowledgeRow>& rows) {
        std::vector<TreeRow> tree;
        for (const KnowledgeRow& row : rows) {
            CheckSixDigits("Knowledge", row.ID);
            CheckPage("Knowledge", row.ID, "Url", row.Url);
            tree.push_back({row.ID, row.SuperiorID});
        }
        CheckTree("Knowledge", tree);
    }

    void CheckQuestions(const std::vector<QuestionRow>& rows) {
        for (const QuestionRow& row : rows) {
            const int id = row.ID;
            CheckSixDigits("Question", id);
            CheckPage("Question", id, "Url", row.Url);
            CheckPage("Question", id, "AnswerUrl", row.AnswerUrl);
            if (Trim(row.Url).empty() || Trim(row.AnswerUrl).empty()) {
                Problem(Format("Question %d: Url 或 AnswerUrl 为空，试题和答案都无法显示", id));
            }
            if (typeIds_.count(row.TypeID) == 0) {
                Problem(Format("Question %d: TypeID %d 不是已有的题型", id, row.TypeID));
            }
            CheckIdList("Question", id, "Knowledge", row.Knowledge, knowledgeIds_, "知识点");
            CheckIdList("Question", id, "GroupID", row.GroupID, questionIds_, "试题");
            CheckAnswerForm(id, row.Answer);
        }
    }

    void CheckPapers(const std::vector<PaperRow>& rows) {
        std::vector<TreeRow> tree;
        for (const PaperRow& row : rows) {
            CheckSixDigits("Paper", row.ID);
            CheckPage("Paper", row.ID, "Url", row.Url);
            if (row.IsQuestion && questionIds_.count(row.QuestionID) == 0) {
                Problem(Format("Paper %d: QuestionID %d 不是已有的试题", row.ID, row.QuestionID));
            }
            tree.push_back({row.ID, row.SuperiorID});
        }
        CheckTree("Paper", tree);
    }

    void CheckTemplates(const std::vector<PaperTemplateRow>& rows,
                        const std::vector<QuestionRow>& questions) {
        std::vector<TreeRow> tree;
        for (const PaperTemplateRow& row : rows) {
            const int id = row.ID;
            CheckSixDigits("PaperTemplate", id);
            CheckPage("PaperTemplate", id, "Url", row.Url);
            CheckIdList("PaperTemplate", id, "QuestionID", row.QuestionID, questionIds_, "试题");
            CheckIdList("PaperTemplate", id, "QuestionTypeID", row.QuestionTypeID, typeIds_,
                        "题型");
            CheckIdList("PaperTemplate", id, "KnowledgeID", row.KnowledgeID, knowledgeIds_,
                        "知识点");
            if (row.IsQuestion) {
                CheckSlot(row, questions);
            }
            tree.push_back({id, row.SuperiorID});
        }
        CheckTree("PaperTemplate", tree);
    }

    // The question selection drops list pieces of five characters or fewer,
    // so a slot naming type "1" silently draws nothing; and a slot that no
    // question satisfies only ever yields a placeholder.
    void CheckSlot(const PaperTemplateRow& row, const std::vector<QuestionRow>& questions) {
        const std::vector<std::string> ids = KeptPieces(row.ID, "QuestionID", row.QuestionID);
        const std::vector<std::string> types =
            KeptPieces(row.ID, "QuestionTypeID", row.QuestionTypeID);
        const std::vector<std::string> knowledge =
            KeptPieces(row.ID, "KnowledgeID", row.KnowledgeID);
        if (std::none_of(questions.begin(), questions.end(), [&](const QuestionRow& question) {
                return SlotMatches(ids, types, knowledge, question);
            })) {
            Problem(Format("PaperTemplate %d: 没有符合此题位条件的试题", row.ID));
        }
    }

    std::vector<std::string> KeptPieces(int id, const char* column, const std::string& list) {
        std::vector<std::string> kept;
        for (const std::string& piece : SplitString(list, ",")) {
            if (piece.size() > 5) {
                kept.push_back(piece);
            } else if (!Trim(piece).empty()) {
                Problem(
                    Format("PaperTemplate %d: %s 中的 \"%s\" 只有 %zu 个字符，选题时被忽略 "
                           "(至少要 6 个)",
                           id, column, piece.c_str(), piece.size()));
            }
        }
        return kept;
    }

    // The selection's filter: explicit IDs or'd with the rest, types and
    // knowledge points restricting each other. A piece that is no number
    // breaks the selection's statement, so the slot matches nothing.
    static bool SlotMatches(const std::vector<std::string>& ids,
                            const std::vector<std::string>& types,
                            const std::vector<std::string>& knowledge,
                            const QuestionRow& question) {
        const auto names = [](const std::vector<std::string>& pieces, int value) {
            return std::any_of(pieces.begin(), pieces.end(), [&](const std::string& piece) {
                return AtoI(Trim(piece)) == value;
            });
        };
        for (const auto* numbers : {&ids, &types}) {
            if (std::any_of(numbers->begin(), numbers->end(),
                            [](const std::string& piece) { return !IsNumber(Trim(piece)); })) {
                return false;
            }
        }
        if (names(ids, question.ID)) {
            return true;
        }
        if (types.empty() && knowledge.empty()) {
            return false;
        }
        const bool typeMatches = types.empty() || names(types, question.TypeID);
        const bool knowledgeMatches =
            knowledge.empty() ||
            std::any_of(knowledge.begin(), knowledge.end(), [&](const std::string& piece) {
                return question.Knowledge.find(piece) != std::string::npos;
            });
        return typeMatches && knowledgeMatches;
    }

    // Links carry IDs in a six-character field, so only six-digit IDs
    // survive the trip through a page.
    void CheckSixDigits(const char* table, int id) {
        if (id < 100000 || id > 999999) {
            Problem(Format("%s %d: ID 不是六位数 (应在 100000 到 999999 之间)", table, id));
        }
    }

    void CheckPage(const char* table, int id, const char* column, const std::string& location) {
        const PageLocation page = ResolveLocation(dataFolder_, location);
        std::error_code ec;
        if (page.kind == LocationKind::Outside) {
            Problem(Format("%s %d: %s 指向数据文件夹之外: %s", table, id, column,
                           page.address.c_str()));
        } else if (page.kind == LocationKind::Local &&
                   !std::filesystem::is_regular_file(page.path, ec)) {
            Problem(Format("%s %d: %s 所指的页面文件不存在: %s", table, id, column,
                           page.address.c_str()));
        }
    }

    static bool IsNumber(const std::string& text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    }

    void CheckIdList(const char* table, int id, const char* column, const std::string& list,
                     const std::set<int>& known, const char* what) {
        for (const std::string& raw : SplitString(list, ",")) {
            const std::string piece = Trim(raw);
            if (piece.empty()) {
                continue;
            }
            if (!IsNumber(piece)) {
                Problem(
                    Format("%s %d: %s 中的 \"%s\" 不是数字 ID", table, id, column, piece.c_str()));
            } else if (piece.size() > 9 || known.count(AtoI(piece)) == 0) {
                Problem(Format("%s %d: %s 中的 %s 不是已有的%s", table, id, column, piece.c_str(),
                               what));
            }
        }
    }

    void CheckAnswerForm(int id, const std::string& answer) {
        const std::vector<std::string> lines = DescriptionLines(answer);
        for (size_t i = 0; i < lines.size(); ++i) {
            const int number = static_cast<int>(i) + 1;
            if (Trim(lines[i]).empty()) {
                continue;
            }
            const std::vector<std::string> fields = SplitString(lines[i], ",");
            if (fields.size() < 6) {
                Problem(Format("Question %d: Answer 第 %d 行只有 %zu 个字段 (至少要 6 个)", id,
                               number, fields.size()));
                continue;
            }
            const std::string& kind = fields[4];
            if (std::none_of(std::begin(kControlKinds), std::end(kControlKinds),
                             [&](const char* known) { return EqualsNoCase(kind, known); })) {
                Problem(
                    Format("Question %d: Answer 第 %d 行的控件类型 \"%s\" 未知 (应为 label、"
                           "radio、check、edit 或 editmutiline)",
                           id, number, kind.c_str()));
            }
        }
    }

    // Parents that do not exist, and cycles of parents (each reported once,
    // at its smallest ID).
    void CheckTree(const char* table, const std::vector<TreeRow>& rows) {
        std::map<int, int> parent;
        for (const TreeRow& row : rows) {
            parent[row.id] = row.superior;
        }
        for (const TreeRow& row : rows) {
            if (row.superior != 0 && parent.count(row.superior) == 0) {
                Problem(Format("%s %d: SuperiorID %d 不是 %s 中已有的行", table, row.id,
                               row.superior, table));
            }
        }
        enum class State { Unseen, OnPath, Done };
        std::map<int, State> state;
        for (const TreeRow& row : rows) {
            std::vector<int> path;
            int at = row.id;
            while (parent.count(at) != 0 && state[at] == State::Unseen) {
                state[at] = State::OnPath;
                path.push_back(at);
                at = parent[at];
                if (at == 0) {
                    break;
                }
            }
            if (at != 0 && parent.count(at) != 0 && state[at] == State::OnPath) {
                ReportCycle(table,
                            std::vector<int>(std::find(path.begin(), path.end(), at), path.end()));
            }
            for (int id : path) {
                state[id] = State::Done;
            }
        }
    }

    void ReportCycle(const char* table, std::vector<int> cycle) {
        std::rotate(cycle.begin(), std::min_element(cycle.begin(), cycle.end()), cycle.end());
        std::string text;
        for (int id : cycle) {
            text += Format("%d → ", id);
        }
        text += Format("%d", cycle.front());
        Problem(Format("%s %d: SuperiorID 形成循环: %s", table, cycle.front(), text.c_str()));
    }

    void Problem(std::string text) { problems_.push_back(std::move(text)); }

    DataStore& store_;
    std::string dataFolder_;
    std::set<int> typeIds_;
    std::set<int> knowledgeIds_;
    std::set<int> questionIds_;
    std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> CheckBank(DataStore& store, const std::string& dataFolder) {
    return BankChecker(store, dataFolder).Run();
}

}  // namespace quillory
