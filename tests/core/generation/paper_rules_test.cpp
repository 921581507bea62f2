// The rules of making a paper: the rows the slots give, the scores and the
// order of a template paper, storing it all or nothing, and the checks of
// the two paper dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/bank/bank_builder.h"
#include "core/common/text.h"
#include "core/generation/paper_choices.h"
#include "core/generation/paper_generation.h"
#include "core/generation/paper_items.h"
#include "core/generation/question_selection.h"
#include "core/generation/targeted_choices.h"
#include "core/store/data_store.h"
#include "core/store/tables.h"
#include "support/recording_host.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"
#include "support/test_banks.h"

namespace quillory {

void PrintTo(const GeneratedRow& row, std::ostream* out) {
    *out << Format("{%d, %d, %d, %g, %d, \"%s\", \"%s\", %d, %d}", row.id, row.superiorId,
                   row.questionId, row.score, row.timeLimit, row.title.c_str(), row.url.c_str(),
                   row.isQuestion, row.isSystem);
}

namespace {

namespace fs = std::filesystem;
using testing::MakeDataFile;
using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::RecordingProgress;
using testing::TempDir;
using testing::WriteFileBytes;

void Exec(DataStore& store, const std::string& sql) {
    ASSERT_TRUE(store.Execute(sql)) << sql << ": " << store.LastError();
}

constexpr char kOneAnswer[] = "0,0,1,1,radio,a,1";
constexpr char kThreeAnswers[] =
    "0,0,1,1,edit,a,x,group\r\n0,0,1,1,edit,b,y,group\r\n0,0,1,1,edit,c,z,group";

// Gives the keys it was told, one a call (the last one again when they run
// out; a key "" stands for a slot nothing matches), and notes the
// generator's state at the first call.
class ScriptedSelector final : public UnitSelector {
public:
    explicit ScriptedSelector(std::vector<std::string> keys) : keys_(std::move(keys)) {}
    int SelectQuestionUnit(const std::string&, const std::string&, const std::string&,
                           std::string& key, const std::string&, bool, int, bool,
                           LegacyRandom& random) override {
        if (calls++ == 0) {
            firstState = random.State();
        }
        key = keys_[std::min(static_cast<size_t>(calls), keys_.size()) - 1];
        return key.empty() ? 0 : 1;
    }
    int calls = 0;
    std::uint32_t firstState = 0;

private:
    std::vector<std::string> keys_;
};

TEST(PaperRules, SlotsBecomeRowsByAnswerCountAndTheDuplicateRule) {
    TempDir dir;
    auto store = MakeDataFile(dir.File("a.qly"));
    for (const int id : {200001, 200002, 200004, 200005}) {
        Exec(*store, Format("insert into Question(ID, Answer) values(%d, '%s')", id, kOneAnswer));
    }
    Exec(*store, Format("insert into Question(ID, Answer) values(200003, '%s')", kThreeAnswers));
    Exec(*store, "insert into Question(ID, Answer) values(200009, '0,0,1,1,label,t')");
    const struct {
        const char* name;
        int slots;
        std::vector<std::string> keys;
        std::vector<PaperItemRow> rows;  // after the paper's own row
        int calls;
    } cases[] = {
        {"three answers at counter 4",
         7,
         {"200001", "200002", "200004", "200003", "200005"},
         {{550002, 550001, "第001题", 200001, {1}},
          {550003, 550001, "第002题", 200002, {2}},
          {550004, 550001, "第003题", 200004, {3}},
          {550005, 550001, "第004-006题", 200003, {4, 5, 6}},
          {550006, 550001, "第007题", 200005, {7}}},
         5},
        {"the sixth duplicate is accepted",
         3,
         {"200001"},
         {{550002, 550001, "第001题", 200001, {1}},
          {550003, 550001, "第002题", 200001, {2}},
          {550004, 550001, "第003题", 200001, {3}}},
         13},
        {"a group fills two slots; named again, it is let in whole",
         4,
         {"200001,200002"},
         {{550002, 550001, "第001题", 200001, {1}},
          {550003, 550001, "第002题", 200002, {2}},
          {550004, 550001, "第003题", 200001, {3}},
          {550005, 550001, "第004题", 200002, {4}}},
         7},
        {"without slots left, answers and questions stay on the last one",
         2,
         {"200003,200001"},
         {{550002, 550001, "第001-003题", 200003, {1, 2}},
          {550003, 550001, "第004题", 200001, {2}}},
         1},
        {"no question, and none without the points either", 1, {""}, {}, 2},
        {"a question without answers adds no row", 1, {"200009"}, {}, 1},
        {"short pieces are no questions",
         1,
         {"12345,200001"},
         {{550002, 550001, "第001题", 200001, {1}}},
         1},
    };
    for (const auto& c : cases) {
        std::vector<TemplateItem> items{{1, 0, "卷", false, "", "", ""}};
        for (int n = 2; n <= c.slots + 1; ++n) {
            items.push_back({n, 1, Format("第%d题", n), true, "", "900001", ""});
        }
        std::vector<PaperItemRow> expected{{550001, 0, "卷", 0, {0}}};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        if (c.keys[0].empty()) {
            expected.push_back({550002, 550001, "第001题", -1, {1}});
        }
        ScriptedSelector selector(c.keys);
        LegacyRandom random;
        RecordingHost host;
        RecordingProgress progress;
        std::vector<PaperItemRow> rows;
        ASSERT_TRUE(BuildPaperItems(items, rows, 550001, {false, 0, true, 1700000000}, *store,
                                    selector, random, host, progress));
        EXPECT_EQ(rows, expected) << c.name;
        EXPECT_EQ(selector.calls, c.calls) << c.name;
        EXPECT_EQ(selector.firstState, 1058013184u) << c.name;  // 1700000000 × 4096 mod 2^32
        if (c.keys[0].empty()) {
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].first, "组卷错误，模版项2。");
        } else {
            EXPECT_TRUE(host.messages.empty()) << c.name;
        }
    }
}

// A template 700000 with one section scored 10 whose three slots, titled
// 9, 10 and 11, name one question each and are scored 4.
class TemplatePaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = MakeDataFile(dir_.File("a.qly"));
        fs::create_directories(dir_.File("Question"));
        WriteFileBytes(dir_.File("Question/T1.html"), "<p>卷</p>");
        WriteFileBytes(dir_.File("Question/T2.html"), "<p>节</p>");
        for (const int id : {200001, 200002, 200003}) {
            Exec(*store_,
                 Format("insert into Question(ID, Answer) values(%d, '%s')", id, kOneAnswer));
        }
        Exec(*store_,
             "insert into PaperTemplate(ID, SuperiorID, Title, TimeLimit, ScoreMax, Url) "
             "values(700000, 0, '模版', 600, 20, 'Question/T1.html')");
        Exec(*store_,
             "insert into PaperTemplate(ID, SuperiorID, Title, ScoreMax, Url) "
             "values(700100, 700000, '一', 10, 'Question/T2.html')");
        const struct {
            int id;
            const char* title;
            int question;
        } slots[] = {{700101, "9", 200001}, {700102, "10", 200002}, {700103, "11", 200003}};
        for (const auto& slot : slots) {
            Exec(*store_, Format("insert into PaperTemplate(ID, SuperiorID, Title, IsQuestion, "
                                 "ScoreMax, QuestionID) values(%d, 700100, '%s', 1, 4, '%d')",
                                 slot.id, slot.title, slot.question));
        }
    }

    Result<GeneratedPaper> Generate(const std::string& title) {
        GenerationContext context{*store_, dir_.Path(), host_, progress_, random_};
        return CreateTemplatePaper(context,
                                   {700000, title, {false, 0, 1, {2026, 3, 1, 0, 0, 0}}, true});
    }

    // What Paper holds, in the form it was generated in.
    std::vector<GeneratedRow> Stored() {
        std::vector<GeneratedRow> rows;
        const auto stored = ReadPaperRows(*store_);
        EXPECT_TRUE(stored) << store_->LastError();
        for (const PaperRow& row : stored ? *stored : std::vector<PaperRow>{}) {
            rows.push_back({row.ID, row.SuperiorID, row.QuestionID, row.Score, row.TimeLimit,
                            row.Title, row.Url, row.IsQuestion, row.IsSystem});
        }
        return rows;
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
    RecordingProgress progress_;
    LegacyRandom random_;
};

TEST_F(TemplatePaperTest, SlotsInTitleOrderAndSectionCapsAreStoredWithThePages) {
    const Result<GeneratedPaper> paper = Generate("Tom's 卷");
    ASSERT_TRUE(paper) << paper.error().detail;
    const std::vector<GeneratedRow> expected{
        {550001, 0, 0, 20, 600, "Tom's 卷", "Question\\P550001.html", false, true},
        {550002, 550001, 0, 10, 0, "一", "Question\\P550002.html", false, false},
        {550003, 550002, 200002, 4, 0, "第001题", "", true, false},  // "10" before "9"
        {550004, 550002, 200003, 3, 0, "第002题", "", true, false},
        {550005, 550002, 200001, 3, 0, "第003题", "", true, false},
    };
    EXPECT_EQ(paper->rows, expected);
    EXPECT_EQ(paper->paperId, 550001);
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(ReadFileBytes(dir_.File("Question/P550001.html")), "<p>卷</p>");
    EXPECT_EQ(ReadFileBytes(dir_.File("Question/P550002.html")), "<p>节</p>");
}

// Sections 一 {10, 9} and 乙 {1}, and 乙二 {1} without a page: the question of
// slot 10 has three answers and fills both slots of 一 (its third answer finds
// none left), so it is worth both, time limits included; each section keeps
// its own values and page.
TEST_F(TemplatePaperTest, AQuestionIsWorthTheSlotsItFillsAndSectionsKeepTheirOwn) {
    Exec(*store_, "delete from PaperTemplate where ID=700103");
    Exec(*store_, "update PaperTemplate set ScoreMax=50 where ID=700000");
    Exec(*store_, "update PaperTemplate set TimeLimit=30 where SuperiorID=700100");
    Exec(*store_, Format("update Question set Answer='%s' where ID=200002", kThreeAnswers));
    WriteFileBytes(dir_.File("Question/T3.html"), "<p>乙</p>");
    Exec(*store_,
         "insert into PaperTemplate(ID, SuperiorID, Title, TimeLimit, ScoreMax, Url) values"
         "(700200, 700000, '乙', 5, 40, 'Question/T3.html'), (700300, 700000, '乙二', 0, 0, ' ')");
    Exec(*store_,
         "insert into PaperTemplate(ID, SuperiorID, Title, IsQuestion, ScoreMax, QuestionID) "
         "values(700201, 700200, '1', 1, 4, '200001'), (700301, 700300, '1', 1, 2, '200003')");
    const Result<GeneratedPaper> paper = Generate("卷");
    ASSERT_TRUE(paper) << paper.error().detail;
    const std::vector<GeneratedRow> expected{
        {550001, 0, 0, 50, 600, "卷", "Question\\P550001.html", false, true},
        {550002, 550001, 0, 10, 0, "一", "Question\\P550002.html", false, false},
        {550003, 550002, 200002, 8, 60, "第001-003题", "", true, false},
        {550004, 550001, 0, 40, 5, "乙", "Question\\P550004.html", false, false},
        {550005, 550004, 200001, 4, 0, "第004题", "", true, false},
        {550006, 550001, 0, 0, 0, "乙二", "", false, false},
        {550007, 550006, 200003, 1, 0, "第005题", "", true, false},  // capped
    };
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(ReadFileBytes(dir_.File("Question/P550002.html")), "<p>节</p>");
    EXPECT_EQ(ReadFileBytes(dir_.File("Question/P550004.html")), "<p>乙</p>");
    EXPECT_FALSE(fs::exists(dir_.File("Question/P550006.html")));
}

TEST_F(TemplatePaperTest, AFailedInsertLeavesNeitherRowsNorPages) {
    Exec(*store_,
         "create trigger refuse before insert on Paper when new.ID = 550004 "
         "begin select raise(abort, 'no room for this row'); end");
    const Result<GeneratedPaper> paper = Generate("卷");
    ASSERT_FALSE(paper);
    EXPECT_EQ(paper.error().code, ErrorCode::NotSaved);
    EXPECT_NE(paper.error().detail.find("no room for this row"), std::string::npos)
        << paper.error().detail;
    EXPECT_TRUE(Stored().empty());
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir_.File("Question"))) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"T1.html", "T2.html"}));
}

TEST(PaperRules, TheDialogsRefuseWhatTheyRefuse) {
    const struct {
        int templateId;
        const char* title;
        const char* message;
    } templateCases[] = {
        {0, "卷", "模版错误！"},
        {0, " ", "模版错误！"},
        {401000, " \t ", "无效的试卷标题！"},
        {401000, " 卷 ", ""},
    };
    for (const auto& c : templateCases) {
        EXPECT_EQ(CheckTemplatePaperChoice(c.templateId, c.title), c.message) << c.title;
    }
    const std::string countRange = "请输入一个介于 1 和 100 之间的整数。";
    const std::string scoreRange = "请输入一个介于 0 和 100 之间的整数。";
    const struct {
        const char* title;
        int typeCount;
        int count;
        double score;
        std::string message;
        TargetedField field;
    } targetedCases[] = {
        {"卷", 3, 3, 2.5, "", TargetedField::None},
        {"卷", 100, 100, 100.9, "", TargetedField::None},
        {"卷", 3, 0, 1, countRange, TargetedField::Count},
        {"", -1, 101, 1, countRange, TargetedField::Count},  // the count is checked first
        {"卷", 3, 1, 101, scoreRange, TargetedField::Score},
        {"卷", 3, 1, -1, scoreRange, TargetedField::Score},
        {"卷", 3, 1, -0.5, "", TargetedField::None},
        {"  ", 3, 1, 1, "请输入试卷标题！", TargetedField::Title},
        {"卷", -1, 1, 1, "请选择试题类型！", TargetedField::Type},
        {"卷", 3, 4, 1, "试题数量超出总题数！", TargetedField::Count},
    };
    for (const auto& c : targetedCases) {
        const TargetedCheck check = CheckTargetedChoice(c.title, c.typeCount, c.count, c.score);
        EXPECT_EQ(check.message, c.message) << c.count << " " << c.score;
        EXPECT_EQ(check.field, c.field) << c.count << " " << c.score;
    }

    // The entries are read in the dialog's order: the count, its range, then
    // the score and its range.
    const std::string integer = "请输入一个整数。";
    const std::string number = "请输入一个数字。";
    const struct {
        const char* count;
        const char* score;
        std::string message;
        TargetedField field;
        int readCount;  // when accepted
        double readScore;
    } numberCases[] = {
        {" 3 ", "\t2.5 ", "", TargetedField::None, 3, 2.5},
        {"+100", "+1e2", "", TargetedField::None, 100, 100},
        {"1", "-0.5", "", TargetedField::None, 1, -0.5},
        {"0", "abc", countRange, TargetedField::Count, 0, 0},
        {"abc", "abc", integer, TargetedField::Count, 0, 0},
        {"", "1", integer, TargetedField::Count, 0, 0},
        {"2.5", "1", integer, TargetedField::Count, 0, 0},
        {"+-1", "1", integer, TargetedField::Count, 0, 0},
        {"99999999999", "1", integer, TargetedField::Count, 0, 0},
        {"1", "", number, TargetedField::Score, 0, 0},
        {"1", "2,5", number, TargetedField::Score, 0, 0},
        {"1", "nan", number, TargetedField::Score, 0, 0},
        {"1", "inf", number, TargetedField::Score, 0, 0},
        {"1", "101.5", scoreRange, TargetedField::Score, 0, 0},
    };
    for (const auto& c : numberCases) {
        const TargetedNumbers read = ReadTargetedNumbers(c.count, c.score);
        EXPECT_EQ(read.check.message, c.message) << c.count << " " << c.score;
        EXPECT_EQ(read.check.field, c.field) << c.count << " " << c.score;
        if (c.message.empty()) {
            EXPECT_EQ(read.count, c.readCount) << c.count;
            EXPECT_EQ(read.score, c.readScore) << c.score;
        }
    }
}

// The dialogs and quillory-tool title a paper alike.
TEST(PaperRules, APaperIsTitledWithItsEntryWithoutTheWhiteSpaceAtItsEnds) {
    const struct {
        const char* entry;
        const char* title;
    } cases[] = {
        {"第1套", "第1套"},
        {" \t第1套 \r\n", "第1套"},
        {" 第 1 套 ", "第 1 套"},
        {"\xE3\x80\x80卷\xE3\x80\x80", "\xE3\x80\x80卷\xE3\x80\x80"},  // ideographic spaces stay
        {" \t ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PaperTitleFromEntry(c.entry), c.title) << c.entry;
    }
}

// The tool names its choices by ID; only what the dialogs offer stands.
TEST(PaperRules, AChoiceStandsOnlyForWhatTheDialogOffers) {
    const std::vector<TemplateChoice> templates = {{401000, "单元卷"}, {402000, "复习卷"}};
    const struct {
        std::optional<int> chosen;
        int templateId;
    } templateCases[] = {
        {401000, 401000}, {402000, 402000}, {403000, 0}, {0, 0}, {std::nullopt, 0},
    };
    for (const auto& c : templateCases) {
        EXPECT_EQ(ChosenTemplateId(templates, c.chosen), c.templateId) << c.chosen.value_or(-9);
    }
    const std::vector<TypeCount> counts = {{1, "单选题", 3}, {2, "判断题", 0}};
    const struct {
        std::optional<int> chosen;
        int typeCount;
    } typeCases[] = {
        {1, 3},
        {2, 0},
        {9, -1},
        {std::nullopt, -1},
    };
    for (const auto& c : typeCases) {
        EXPECT_EQ(ChosenTypeCount(counts, c.chosen), c.typeCount) << c.chosen.value_or(-9);
    }
}

TEST(PaperRules, TheTargetedDialogCountsTheTypesOverTheKnowledgeSet) {
    TempDir dir;
    const std::string file = dir.File("templates.qly");
    const Status built =
        BuildBank(testing::TestBankSource("templates"), file, testing::ProgramFolder());
    ASSERT_TRUE(built) << built.error().detail;
    auto store = testing::OpenDataStore(file);
    ASSERT_TRUE(store);
    const PaperNodeList tree = KnowledgeTree(*store);
    // The last child's subtree first: 1.2 黄河 before 1.1 长江.
    EXPECT_EQ(KnowledgeSetBelow(tree, 301000),
              (std::vector<std::string>{"301000", "301200", "301100"}));
    EXPECT_EQ(KnowledgeSetBelow(tree, 301200), (std::vector<std::string>{"301200"}));
    EXPECT_TRUE(KnowledgeSetBelow(tree, 999999).empty());
    const struct {
        std::vector<std::string> set;
        TypeCountStatus status;
        std::vector<int> counts;
    } cases[] = {
        {KnowledgeSetBelow(tree, 301000), TypeCountStatus::Ok, {3, 1}},
        {{"301200"}, TypeCountStatus::Ok, {1, 0}},
        {{}, TypeCountStatus::Ok, {3, 1}},
        {std::vector<std::string>(3000, "301100"), TypeCountStatus::SetTooLarge, {}},
    };
    for (const auto& c : cases) {
        std::vector<TypeCount> counts;
        EXPECT_EQ(CountTargetedQuestions(*store, c.set, counts), c.status) << c.set.size();
        if (c.status == TypeCountStatus::Ok) {
            ASSERT_EQ(counts.size(), c.counts.size());
            for (size_t t = 0; t < counts.size(); ++t) {
                EXPECT_EQ(counts[t].count, c.counts[t]) << counts[t].title;
            }
        }
    }
}

}  // namespace
}  // namespace quillory
