// Imported questions written into the demo bank: rows, pages and answer
// forms; the paper an exam runs on; importing the file again; and imports
// that must leave the bank as it was.
#include "core/exchange/bank_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "core/bank/bank_builder.h"
#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/host/no_progress.h"
#include "core/practice/answer_form.h"
#include "core/practice/exam_session.h"
#include "core/store/data_store.h"
#include "exchange_files.h"
#include "support/pinned_clock.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;

ImportedQuestion Question(QuestionKind kind, int row, const std::string& stem,
                          const std::string& section) {
    ImportedQuestion q;
    q.place = {"地理.xlsx", section, row, 0};
    q.kind = kind;
    q.stem = stem;
    q.section = section;
    return q;
}

// A workbook of two sheets with every kind, a formula, a picture, a known
// and a new knowledge path, a known and a new question type.
ImportReading Workbook() {
    ImportReading reading;
    ImportedQuestion single =
        Question(QuestionKind::SingleChoice, 2, "我国的首都是（　　）", "选择");
    single.sourceKey = "1";
    single.options = {"北京", "上海", "广州", "深圳"};
    single.rightOptions = {0};
    single.analysis = "首都是北京。";
    single.knowledgePaths = {"第1章 疆域与人口/1.1 疆域/1.1.1 地理位置"};
    single.level = 1;
    single.score = 5;
    reading.questions.push_back(single);

    ImportedQuestion multiple =
        Question(QuestionKind::MultipleChoice, 3, "$x^2=4$ 的解是 <img src=\"p1.png\">", "选择");
    multiple.sourceKey = "2";
    multiple.options = {"$-2$", "$2$", "$0$"};
    multiple.rightOptions = {0, 1};
    multiple.knowledgePaths = {"数学/方程"};
    multiple.media = {{"p1.png", std::string("\x89PNG\r\n\x1a\n", 8)}};
    multiple.typeTitle = "不定项选择题";
    reading.questions.push_back(multiple);

    ImportedQuestion judge = Question(QuestionKind::TrueFalse, 2, "长江是我国最长的河流。", "其他");
    judge.sourceKey = "3";
    judge.trueFalseKey = true;
    reading.questions.push_back(judge);

    ImportedQuestion blanks =
        Question(QuestionKind::FillBlank, 3, "我国有___个省级行政区，首都是___。", "其他");
    blanks.sourceKey = "4";
    blanks.blanks = {{"34"}, {"北京", "北京市"}};
    reading.questions.push_back(blanks);

    ImportedQuestion essay = Question(QuestionKind::Manual, 4, "简述长江的水文特征。", "其他");
    essay.sourceKey = "5";
    essay.referenceAnswer = "水量大，汛期长；<br>冬季不结冰, 含沙量小。";
    essay.score = 10;
    reading.questions.push_back(essay);
    return reading;
}

class BankWriterTest : public testing::DemoBankTest {
protected:
    Result<ImportPlan> Plan(ImportReading reading, const std::string& title = "地理练习",
                            bool skipBad = false) {
        std::vector<ImportFile> files;
        files.push_back({title, "地理.xlsx", std::move(reading)});
        return PlanImport(*store_, std::move(files), {0, skipBad});
    }

    // The paper's ID, after planning and writing without a problem.
    int Import(ImportReading reading) {
        Result<ImportPlan> plan = Plan(std::move(reading));
        EXPECT_TRUE(plan.ok()) << plan.error().detail;
        EXPECT_TRUE(plan->problems.empty()) << ProblemLines(*plan).front();
        NoProgress progress;
        Result<std::vector<int>> papers = WriteImport(*store_, folder_, *plan, progress);
        EXPECT_TRUE(papers.ok()) << papers.error().detail;
        return papers.ok() && papers->size() == 1 ? papers->front() : 0;
    }

    std::map<std::string, std::string> Row(const std::string& sql,
                                           const std::vector<std::string>& columns) {
        std::map<std::string, std::string> values;
        auto rows = store_->Query(sql);
        EXPECT_TRUE(rows && !rows->AtEnd()) << sql;
        for (const std::string& column : columns) {
            values[column] = rows && !rows->AtEnd() ? rows->Text(column) : "";
        }
        return values;
    }

    std::string Page(const std::string& url) {
        return GbToUtf8(ReadFileBytes(folder_ + "/" + url));
    }

    // Every row of every table, and every file below the folder with a hash
    // of its bytes. (The data file's own bytes change with any write even
    // when rolled back: each page is encrypted anew.)
    std::map<std::string, size_t> Files() {
        std::map<std::string, size_t> files;
        auto store = testing::OpenDataStore(folder_ + "/demo.qly");
        for (const char* table : {"Paper", "Question", "QuestionType", "Knowledge", "History",
                                  "PaperTemplate", "ConfigProduct", "ImportedSource"}) {
            auto rows = store->Query(std::string("select * from ") + table);
            std::string dump;
            for (; rows && !rows->AtEnd(); rows->Next()) {
                dump += rows->Text("ID") + rows->Text("Title") + rows->Text("Url") +
                        rows->Text("Answer") + rows->Text("SuperiorID") + rows->Text("QuestionID") +
                        "\n";
            }
            files[table] = std::hash<std::string>()(dump);
        }
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            if (entry.path().filename() == "demo.qly") {
                continue;
            }
            files[entry.path().lexically_relative(folder_).string()] =
                entry.is_regular_file()
                    ? std::hash<std::string>()(ReadFileBytes(entry.path().string()))
                    : 0;
        }
        return files;
    }
};

TEST_F(BankWriterTest, QuestionsGetRowsPagesAnswerFormsAndAClassicPaper) {
    Result<ImportPlan> plan = Plan(Workbook());
    ASSERT_TRUE(plan.ok());
    const std::vector<std::string> lines = ImportLines(*plan);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "200057\tsingle\t单项选择题\t选择!2");
    EXPECT_EQ(lines[1], "200058\tmultiple\t不定项选择题\t选择!3");
    EXPECT_EQ(lines[3], "200060\tblank\t填空题\t其他!3");
    EXPECT_EQ(lines[4], "200061\tmanual\t简答题\t其他!4");
    EXPECT_EQ(lines[5], "共 5 题：新增 5 题，更新 0 题；1 个试卷，1 个新题型，2 个新知识点");

    const int paper = Import(Workbook());
    ASSERT_NE(paper, 0);

    // An existing type and point are reused; the new ones have six-digit IDs.
    auto single = Row("select * from Question where ID=200057",
                      {"TypeID", "Level", "Knowledge", "KeyWord", "Url", "AnswerUrl", "Answer"});
    EXPECT_EQ(single["TypeID"], "100001");
    EXPECT_EQ(single["Level"], "1");
    EXPECT_EQ(single["Knowledge"], "301101");
    EXPECT_EQ(single["KeyWord"], "");
    auto multiple = Row("select * from Question where ID=200058", {"TypeID", "Knowledge", "Url"});
    EXPECT_EQ(
        Row("select Title from QuestionType where ID=" + multiple["TypeID"], {"Title"})["Title"],
        "不定项选择题");
    auto equation = Row("select * from Knowledge where ID=" + multiple["Knowledge"],
                        {"Title", "SuperiorID", "Url"});
    EXPECT_EQ(equation["Title"], "方程");
    EXPECT_EQ(
        Row("select Title from Knowledge where ID=" + equation["SuperiorID"], {"Title"})["Title"],
        "数学");
    EXPECT_NE(Page(equation["Url"]).find("方程"), std::string::npos);

    // Pages in GB18030 declaring gb2312, with the heading the item title
    // replaces, TeX as written, and the picture beside the page.
    const std::string raw = ReadFileBytes(folder_ + "/" + multiple["Url"]);
    EXPECT_NE(raw.find("charset=gb2312"), std::string::npos);
    EXPECT_NE(raw.find(Utf8ToGb("[试题]")), std::string::npos);
    const std::string page = Page(multiple["Url"]);
    EXPECT_NE(page.find("$x^2=4$"), std::string::npos);
    EXPECT_NE(page.find("A．$-2$"), std::string::npos);
    EXPECT_NE(page.find("src=\"200058_files/p1.png\""), std::string::npos);
    EXPECT_EQ(ReadFileBytes(folder_ + "/Question/200058_files/p1.png").size(), 8u);
    const std::string answer = Page(single["AnswerUrl"]);
    EXPECT_LT(answer.find("答案"), answer.find("解析"));
    EXPECT_NE(answer.find("首都是北京。"), std::string::npos);

    // Each blank its own judged group; the hand-scored box in a group
    // without "auto" holding the reference answer.
    const AnswerForm blanks = ParseAnswerForm(
        Row("select Answer from Question where ID=200060", {"Answer"})["Answer"], "");
    ASSERT_EQ(blanks.groups.size(), 3u);
    EXPECT_TRUE(blanks.groups[1].autoJudge && blanks.groups[2].autoJudge);
    EXPECT_EQ(blanks.groups[2].controls[1].correctValue, "北京");
    const AnswerForm essay = ParseAnswerForm(
        Row("select Answer from Question where ID=200061", {"Answer"})["Answer"], "");
    ASSERT_EQ(essay.groups.size(), 2u);
    EXPECT_FALSE(essay.groups[1].autoJudge);
    EXPECT_EQ(essay.groups[1].controls[0].correctValue,
              "水量大，汛期长；<\\r\\n>冬季不结冰， 含沙量小。");
    // Every control lies inside the panel's answer area (553 × 206).
    for (int id = 200057; id <= 200061; ++id) {
        const AnswerForm form = ParseAnswerForm(
            Row(Format("select Answer from Question where ID=%d", id), {"Answer"})["Answer"], "");
        for (const AnswerGroup& group : form.groups) {
            for (const AnswerControl& control : group.controls) {
                EXPECT_LE(control.right, 553) << id;
                EXPECT_LE(control.bottom, 206) << id;
            }
        }
    }

    // A classic reference paper: sections per sheet, items numbered in
    // source order, scores summed, pages for the paper and its sections.
    auto top = Row(Format("select * from Paper where ID=%d", paper),
                   {"Title", "Score", "IsReference", "IsSystem", "Url"});
    EXPECT_EQ(top["Title"], "地理练习");
    EXPECT_EQ(AtoI(top["Score"]), 5 + 4 + 2 + 3 + 10);
    EXPECT_EQ(top["IsReference"], "1");
    EXPECT_EQ(top["IsSystem"], "0");
    EXPECT_NE(Page(top["Url"]).find("[标题]"), std::string::npos);
    auto rows = store_->Query(Format(
        "select S.Title as Section, S.Score as SectionScore, I.Title as Item, I.QuestionID as Q "
        "from Paper S, Paper I where S.SuperiorID=%d and I.SuperiorID=S.ID order by I.Title",
        paper));
    ASSERT_TRUE(rows);
    std::vector<std::string> items;
    for (; !rows->AtEnd(); rows->Next()) {
        items.push_back(rows->Text("Section") + " " + rows->Text("SectionScore").substr(0, 2) +
                        " " + rows->Text("Item") + " " + rows->Text("Q"));
    }
    EXPECT_EQ(items, (std::vector<std::string>{
                         "第1部分 选择 9. 第001题 200057", "第1部分 选择 9. 第002题 200058",
                         "第2部分 其他 15 第003题 200059", "第2部分 其他 15 第004题 200060",
                         "第2部分 其他 15 第005题 200061"}));
}

// The keys an exam on the paper holds judge as the file says: whole marks
// for the keys, a share for one blank of two, hand scoring for the essay.
TEST_F(BankWriterTest, AnExamOnTheImportedPaperJudgesTheKeys) {
    ImportReading reading = Workbook();
    ImportedQuestion matching = Question(QuestionKind::Matching, 7, "连线：", "其他");
    matching.options = {"北京", "上海", "广州"};
    matching.answerSlots = {{"首都", {}, 0, {}}, {"广东省会", {}, 2, {}}};
    matching.score = 4;
    reading.questions.push_back(matching);
    ImportedQuestion cloze = Question(QuestionKind::Cloze, 8, "长江（1）在（2）入海。", "其他");
    cloze.answerSlots = {{"", {"东", "西"}, 0, {}}, {"", {}, -1, {"上海", "上海市"}}};
    cloze.score = 4;
    reading.questions.push_back(cloze);
    const int paper = Import(reading);
    testing::RecordingHost host;
    testing::PinnedClock clock(DateTime{2026, 3, 1, 9, 0, 0});
    ExamSession session(host, clock);
    session.Start(ExamState::Answering, *store_, paper);
    ASSERT_EQ(session.Items().size(), 7u);
    const struct {
        std::vector<std::string> values;  // per control, labels included
        int code;
        float score;
    } cases[] = {
        {{"", "1", "0", "0", "0"}, 0, 5},
        {{"", "1", "1", "0"}, 0, 4},
        {{"", "1", "0"}, 0, 2},
        {{"", "", "34", "", "上海"}, 0, 1.5},
        {{"", "水量大"}, kNeedsHandScoring, 0},
        {{"", "", "1", "0", "0", "", "1", "0", "0"}, 0, 2},
        {{"", "", "1", "0", "", "上海"}, 0, 4},
    };
    for (size_t i = 0; i < session.Items().size(); ++i) {
        const ExamItem& item = session.Items()[i];
        AnswerForm form = ParseAnswerForm(item.description, "");
        size_t next = 0;
        for (AnswerGroup& group : form.groups) {
            for (AnswerControl& control : group.controls) {
                control.learnerValue = next < cases[i].values.size() ? cases[i].values[next++] : "";
            }
        }
        const Judgement judged = JudgeAnswerForm(
            ParseAnswerForm(item.description, ComposeAnswerText(form)), item.fullMarks, true);
        EXPECT_EQ(judged.code, cases[i].code) << i;
        EXPECT_FLOAT_EQ(judged.score, cases[i].score) << i;
    }
}

// The teacher edits two rows, removes one and adds one: the same questions
// change in place, their history and paper items stay, the removed one is
// listed and kept, the new one added.
TEST_F(BankWriterTest, ImportingTheFileAgainUpdatesInPlaceAndKeepsTheHistory) {
    const int paper = Import(Workbook());
    auto item = Row("select ID from Paper where QuestionID=200057", {"ID"});
    ASSERT_TRUE(store_->Execute(Format(
        "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID, QuestionID, "
        "TotalScore, UserScore) values(700500, '2026-03-01', '09:00:00', %d, %s, 200057, 5, 5)",
        paper, item["ID"].c_str())));
    const std::string oldPage = Row("select Url from Question where ID=200059", {"Url"})["Url"];

    ImportReading edited = Workbook();
    edited.questions[0].stem = "中华人民共和国的首都是（　　）";
    edited.questions[0].rightOptions = {1};
    edited.questions[0].options[1] = "北京";
    edited.questions[2].trueFalseKey = false;
    edited.questions.erase(edited.questions.begin() + 3);
    ImportedQuestion added = Question(QuestionKind::TrueFalse, 6, "黄河注入渤海。", "其他");
    added.sourceKey = "6";
    added.trueFalseKey = true;
    edited.questions.push_back(added);

    Result<ImportPlan> plan = Plan(edited);
    ASSERT_TRUE(plan.ok());
    const std::vector<std::string> lines = ImportLines(*plan);
    EXPECT_EQ(lines[0], "200057\tsingle\t单项选择题\t选择!2");
    EXPECT_EQ(lines[4], "200062\ttruefalse\t判断题\t其他!6");
    EXPECT_EQ(lines[5], "WARN\t其他#4\t文件中已没有这道题；试题 200060 仍留在题库中");
    EXPECT_EQ(Import(edited), paper);

    EXPECT_NE(Page(Row("select Url from Question where ID=200057", {"Url"})["Url"])
                  .find("中华人民共和国"),
              std::string::npos);
    const AnswerForm form = ParseAnswerForm(
        Row("select Answer from Question where ID=200057", {"Answer"})["Answer"], "");
    EXPECT_EQ(form.groups[1].controls[1].correctValue, "1");
    EXPECT_EQ(Row("select ID from Paper where QuestionID=200057", {"ID"})["ID"], item["ID"]);
    EXPECT_EQ(Row("select QuestionID from History where ID=700500", {"QuestionID"})["QuestionID"],
              "200057");
    EXPECT_TRUE(store_->Query("select ID from Question where ID=200060")->AtEnd() == false);
    EXPECT_TRUE(store_->Query("select ID from Paper where QuestionID=200060")->AtEnd());
    EXPECT_FALSE(fs::exists(folder_ + "/" + oldPage));
    EXPECT_EQ(AtoI(Row(Format("select Score from Paper where ID=%d", paper), {"Score"})["Score"]),
              5 + 4 + 2 + 10 + 2);
    auto count = store_->Query("select count(*) as n from Question where ID>=200057");
    EXPECT_EQ(count->Int("n"), 6);
}

// A refused plan, and a write whose rows fail half way (a point the plan
// adds was taken meanwhile), leave every row and file as they were.
TEST_F(BankWriterTest, AnImportThatFailsLeavesTheBankAsItWas) {
    ImportReading bad = Workbook();
    bad.questions[0].rightOptions = {0, 1};
    Result<ImportPlan> refused = Plan(bad);
    ASSERT_TRUE(refused.ok());
    EXPECT_EQ(ProblemLines(*refused),
              std::vector<std::string>{"地理.xlsx:选择:2: 单选题有不止一个答案"});

    Result<ImportPlan> plan = Plan(Workbook());
    ASSERT_TRUE(plan.ok());
    ASSERT_EQ(plan->newPoints.size(), 2u);
    ASSERT_TRUE(store_->Execute(
        Format("insert into Knowledge(ID, Title) values(%d, '占用')", plan->newPoints.back().id)));
    store_.reset();
    const std::map<std::string, size_t> before = Files();
    store_ = testing::OpenDataStore(folder_ + "/demo.qly");
    NoProgress progress;
    EXPECT_EQ(WriteImport(*store_, folder_, *refused, progress).error().code, ErrorCode::BadInput);
    EXPECT_EQ(WriteImport(*store_, folder_, *plan, progress).error().code, ErrorCode::Database);
    store_.reset();
    const std::map<std::string, size_t> after = Files();
    for (const auto& [path, hash] : after) {
        EXPECT_TRUE(before.count(path) != 0 && before.at(path) == hash) << path;
    }
    EXPECT_EQ(after.size(), before.size());
}

// Problems a file can have that only the bank sees, and what skipping them
// leaves out.
TEST_F(BankWriterTest, ProblemsRefuseTheImportUnlessTheyAreSkipped) {
    ImportReading reading = Workbook();
    reading.questions[1].sourceKey = "1";
    reading.questions[1].place.sheet = "选择";
    reading.questions[3].blanks.assign(16, {"x"});
    reading.problems.push_back({{"地理.xlsx", "其他", 9, 0}, "答案中的选项不存在"});
    Result<ImportPlan> plan = Plan(reading, "地理练习", true);
    ASSERT_TRUE(plan.ok());
    EXPECT_FALSE(plan->Refused());
    EXPECT_EQ(ProblemLines(*plan),
              (std::vector<std::string>{"地理.xlsx:其他:9: 答案中的选项不存在",
                                        "地理.xlsx:选择:3: 序号“1”与 地理.xlsx:选择:2 重复",
                                        "地理.xlsx:其他:3: 空太多（最多 15 个）"}));
    const std::vector<std::string> lines = ImportLines(*plan);
    EXPECT_EQ(lines.size(), 3u + 3u + 1u);
    EXPECT_EQ(lines[3], "WARN\t其他!9\t已跳过：答案中的选项不存在");

    Result<ImportPlan> sameTitle = Plan(Workbook(), "中国地理 第1套 疆域、人口与自然环境");
    ASSERT_TRUE(sameTitle.ok());
    EXPECT_TRUE(sameTitle->Refused());
    EXPECT_EQ(PlanImport(*store_, {}, {424242, false}).error().code, ErrorCode::NotFound);
}

}  // namespace
}  // namespace quillory
