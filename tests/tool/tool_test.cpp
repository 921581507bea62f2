#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/gb_encoding.h"
#include "core/exchange/exchange_files.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::SmallDisk;
using testing::SourceFolder;
using testing::TempDir;
using testing::WriteFileBytes;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ShellQuote(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs quillory-tool with the words as its arguments.
Result Tool(const TempDir& dir, const std::vector<std::string>& words) {
    std::string command = ShellQuote(QUILLORY_TOOL);
    for (const std::string& word : words) {
        command += " " + ShellQuote(word);
    }
    const std::string errFile = dir.File("stderr.txt");
    command += " 2>" + ShellQuote(errFile);
    Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.out.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = ReadFileBytes(errFile);
    return result;
}

TEST(QuilloryTool, HelpListsTheCommandsAndBadCommandLinesExitWithTwo) {
    TempDir dir;
    const Result help = Tool(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command :
         {"new DATAFILE", "sql DATAFILE STATEMENT", "build-bank SOURCE_DIR DATAFILE",
          "check DATAFILE", "import DATAFILE [OLDFILE]"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(Tool(dir, {}).status, 2);
    const Result unknown = Tool(dir, {"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos);
    EXPECT_EQ(Tool(dir, {"build-bank", "only-one"}).status, 2);
    EXPECT_EQ(Tool(dir, {"sql", dir.File("a.qly")}).status, 2);
    EXPECT_EQ(Tool(dir, {"check", "a.qly", "b.qly"}).status, 2);
}

TEST(QuilloryTool, EveryCommandHasItsHelpAndRefusesABadCommandLine) {
    TempDir dir;
    for (const char* command :
         {"new", "sql", "build-bank", "check", "show", "print", "template", "analyze", "import",
          "generate", "targeted", "mistakes", "import-questions", "export-questions"}) {
        const Result help = Tool(dir, {command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_NE(help.out.find(std::string("用法: quillory-tool ") + command), std::string::npos)
            << help.out;
        const Result missing = Tool(dir, {command});
        EXPECT_EQ(missing.status, 2) << command;
        EXPECT_NE(missing.err.find(std::string("用法: quillory-tool ") + command),
                  std::string::npos)
            << missing.err;
        const Result unknown = Tool(dir, {command, "--bogus", "a", "1"});
        EXPECT_EQ(unknown.status, 2) << command;
        // A missing required option may be named before the unknown one.
        EXPECT_TRUE(unknown.err.find("--bogus") != std::string::npos ||
                    unknown.err.find("is required") != std::string::npos)
            << unknown.err;
    }
}

TEST(QuilloryTool, NewThenSqlRunsStatementsAndReportsFailures) {
    TempDir dir;
    const std::string file = dir.File("a.qly");
    const Result made = Tool(dir, {"new", file});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, file + "\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("Question/common")));
    EXPECT_EQ(Tool(dir, {"new", file}).status, 1) << "an existing file is refused";

    EXPECT_EQ(
        Tool(dir, {"sql", file, "insert into QuestionType(ID, Title) values(1, '选择题')"}).status,
        0);
    const Result select =
        Tool(dir, {"sql", file, "select * from QuestionType where Title like '*选*'"});
    EXPECT_EQ(select.status, 0) << select.err;
    EXPECT_EQ(select.out, "ID\tTitle\n1\t选择题\n");
    const Result bad = Tool(dir, {"sql", file, "insert into Nowhere values(1)"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Nowhere"), std::string::npos) << bad.err;
    EXPECT_EQ(Tool(dir, {"sql", file, "select * from Nowhere"}).status, 1);
}

TEST(QuilloryTool, BuildBankAndCheckReportWhatIsWrong) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("src/Question"));
    WriteFileBytes(dir.File("src/questions.txt"),
                   "[QuestionType 1]\nTitle = 选择题\n"
                   "[Question 200101]\nTypeID = 1\nUrl = Question/200101.html\n"
                   "AnswerUrl = Question/200101a.html\nKnowledge = 300101\n"
                   "Answer <<\n10,40,200,20,radio,A,1,group,auto\n>>\n");
    WriteFileBytes(dir.File("src/Question/200101.html"), "<p>题</p>");
    const Result built = Tool(dir, {"build-bank", dir.File("src"), dir.File("bank.qly")});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(built.out, dir.File("bank.qly") + "\n");

    const Result broken = Tool(dir, {"check", dir.File("bank.qly")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out,
              "Question 200101: AnswerUrl 所指的页面文件不存在: Question/200101a.html\n"
              "Question 200101: Knowledge 中的 300101 不是已有的知识点\n"
              "检查完毕: 发现 2 个问题\n");

    WriteFileBytes(dir.File("Question/200101a.html"), "<p>答</p>");
    ASSERT_EQ(Tool(dir, {"sql", dir.File("bank.qly"), "update Question set Knowledge=''"}).status,
              0);
    const Result clean = Tool(dir, {"check", dir.File("bank.qly")});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out, "检查完毕: 没有发现问题\n");
}

TEST(QuilloryTool, BuildBankNamesTheLineOfABadRecord) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("src"));
    WriteFileBytes(dir.File("src/papers.txt"), "[Paper 100001]\nScore = 1,5\n");
    const Result built = Tool(dir, {"build-bank", dir.File("src"), dir.File("bank.qly")});
    EXPECT_EQ(built.status, 1);
    EXPECT_NE(built.err.find(dir.File("src/papers.txt") + ":2: Score"), std::string::npos)
        << built.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("bank.qly")));
}

TEST(QuilloryTool, CheckOnAFileThatIsNotADataFileSaysItCannotOpenIt) {
    TempDir dir;
    WriteFileBytes(dir.File("junk.qly"), "not a database at all, just some text");
    const Result result = Tool(dir, {"check", dir.File("junk.qly")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("无法打开数据库!"), std::string::npos) << result.err;
    EXPECT_EQ(Tool(dir, {"check", dir.File("missing.qly")}).status, 1);

    const std::string narrow = dir.File("narrow.qly");
    {
        auto store = testing::MakeDataFile(narrow);
        for (const char* sql :
             {"create table Loose as select ID, TypeID, Level, Url, AnswerUrl, Knowledge, "
              "KeyWord, GroupID from Question",
              "drop table Question", "alter table Loose rename to Question"}) {
            ASSERT_TRUE(store->Execute(sql)) << sql;
        }
    }
    const Result lacking = Tool(dir, {"check", narrow});
    EXPECT_EQ(lacking.status, 1);
    EXPECT_NE(lacking.err.find("column Question.Answer is missing"), std::string::npos)
        << lacking.err;
}

TEST(QuilloryTool, SqlRefusesWhatWouldRunUnseenOrLockTheFile) {
    TempDir dir;
    const std::string file = dir.File("a.qly");
    ASSERT_EQ(Tool(dir, {"new", file}).status, 0);
    ASSERT_EQ(Tool(dir, {"sql", file, "insert into Paper(ID) values(1)"}).status, 0);
    const struct {
        const char* statement;
        const char* fragment;
    } cases[] = {
        {"", "the statement is empty"},
        {"select * from Paper; delete from Paper", "only one statement"},
        {"PRAGMA rekey = 'x'", "PRAGMA key"},
        {"pragma KEY='x'", "PRAGMA key"},
    };
    for (const auto& c : cases) {
        const Result refused = Tool(dir, {"sql", file, c.statement});
        EXPECT_EQ(refused.status, 1) << c.statement;
        EXPECT_EQ(refused.out, "") << c.statement;
        EXPECT_NE(refused.err.find(c.fragment), std::string::npos) << refused.err;
    }
    EXPECT_EQ(Tool(dir, {"sql", file, "select ID from Paper"}).out, "ID\n1\n");
}

TEST(QuilloryTool, NewNamesWhyItCannotMakeTheFile) {
    TempDir dir;
    const Result missing = Tool(dir, {"new", dir.File("nowhere/a.qly")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("nowhere")));
}

// On a full disk every command names the cause, leaves no empty data file
// and prints no path of a file it could not write.
TEST(QuilloryTool, OnAFullDiskCommandsNameTheCauseAndPrintNoPath) {
    SmallDisk disk(8192);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "a small disk needs root";
    }
    TempDir dir;
    const std::string bank = disk.File("demo.qly");
    ASSERT_EQ(Tool(dir, {"build-bank", SourceFolder() + "/resources/demo", bank}).status, 0);
    disk.Fill();
    const std::initializer_list<std::string> commands[] = {
        {"show", bank, "Quillory://Question:200001第01题"},
        {"show", bank, "Quillory://Knowledge:301101"},
        {"show", bank, "Quillory://HistoryAnalysis:000000"},
        {"print", bank, "101100"},
        {"new", disk.File("new.qly")},
    };
    for (const auto& command : commands) {
        const Result result = Tool(dir, command);
        EXPECT_EQ(result.status, 1) << *std::next(command.begin());
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(disk.File("new.qly")));
}

TEST(QuilloryTool, ImportCopiesAnEarlierFileOnceAndSaysHowManyRows) {
    TempDir dir;
    const std::string current = dir.File("new.qly");
    const std::string earlier = dir.File("old.qly");
    ASSERT_EQ(Tool(dir, {"new", current}).status, 0);
    ASSERT_EQ(Tool(dir, {"new", earlier}).status, 0);
    for (const char* statement :
         {"insert into Paper(ID, SuperiorID, Title, IsSystem) values(550001, 0, '练习', true)",
          "insert into Paper(ID, SuperiorID, Title, IsQuestion) values(550002, 550001, '第1题', "
          "true)",
          "insert into History(ID, RecordDate, RecordTime, PaperID, PaperItemID) values(700001, "
          "'2024-03-01', '09:00:00', 550001, 550002)"}) {
        ASSERT_EQ(Tool(dir, {"sql", earlier, statement}).status, 0) << statement;
    }
    ASSERT_EQ(Tool(dir, {"sql", current, "update ConfigProduct set LastVerFile='old.qly'"}).status,
              0);

    const Result imported = Tool(dir, {"import", current});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "导入完毕: History 1 行, Paper 2 行\n");
    EXPECT_EQ(Tool(dir, {"sql", current, "select ID, PaperID from History"}).out,
              "ID\tPaperID\n700001\t550001\n");
    EXPECT_EQ(Tool(dir, {"import", current}).out, "LastVerFile 为空: 没有要导入的数据\n");

    const Result missing = Tool(dir, {"import", current, dir.File("gone.qly")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("找不到上一版本的数据文件 " + dir.File("gone.qly")),
              std::string::npos)
        << missing.err;
    EXPECT_EQ(Tool(dir, {"import", dir.File("none.qly"), earlier}).status, 1);
}

// The demo bank, built by the tool itself into dir.
std::string DemoBank(const TempDir& dir) {
    const std::string bank = dir.File("demo.qly");
    const Result built = Tool(dir, {"build-bank", SourceFolder() + "/resources/demo", bank});
    EXPECT_EQ(built.status, 0) << built.err;
    return bank;
}

TEST(QuilloryTool, ShowComposesThePageALinkShowsAndPrintsItsPath) {
    TempDir dir;
    const std::string bank = DemoBank(dir);

    const Result question = Tool(dir, {"show", bank, "Quillory://Question:200001第01题"});
    ASSERT_EQ(question.status, 0) << question.err;
    EXPECT_EQ(question.out, dir.File("Question/200001.htm") + "\n");
    const std::string page = GbToUtf8(ReadFileBytes(dir.File("Question/200001.htm")));
    EXPECT_NE(page.find("<h3 class=\"item\">第01题</h3>"), std::string::npos);
    // The related-information block, as the program shows it at start.
    EXPECT_NE(page.find("<a href=\"Quillory://Answer:200001第01题\">答案</a>"), std::string::npos);

    const Result answer = Tool(dir, {"show", bank, "QUILLORY://Answer:200001第01题/"});
    EXPECT_EQ(answer.out, dir.File("Question/200001a.htm") + "\n");
    EXPECT_EQ(Tool(dir, {"show", bank, "Quillory://Paper:101000"}).out,
              dir.File("Question/P101000.htm") + "\n");
    EXPECT_EQ(Tool(dir, {"show", bank, "Quillory://Knowledge:301101"}).out,
              dir.File("Knowledge/301101.htm") + "\n");
    // Addresses that are no internal links are shown as they are.
    EXPECT_EQ(Tool(dir, {"show", bank, "http://example.org/"}).out, "http://example.org/\n");
}

TEST(QuilloryTool, ShowReportsWhatTheViewWouldReport) {
    TempDir dir;
    const std::string bank = DemoBank(dir);
    const Result missing = Tool(dir, {"show", bank, "Quillory://Question:999999"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("试题ID没有找到！"), std::string::npos) << missing.err;
    const Result keyword = Tool(dir, {"show", bank, "Quillory://paper:101000"});
    EXPECT_EQ(keyword.status, 1);
    EXPECT_NE(keyword.err.find("无法打开相应内容！"), std::string::npos) << keyword.err;
    EXPECT_EQ(Tool(dir, {"show", bank, ""}).status, 2);
    EXPECT_EQ(Tool(dir, {"show", dir.File("missing.qly"), "Quillory://Paper:101000"}).status, 1);
}

TEST(QuilloryTool, AnalyzeStoresTheWeightsAndShowBuildsTheAnalysisPages) {
    TempDir dir;
    const std::string bank = DemoBank(dir);
    const std::string total = dir.File("Knowledge/ReferenceTotal.html");
    const Result analyzed = Tool(dir, {"analyze", bank});
    ASSERT_EQ(analyzed.status, 0) << analyzed.err;
    EXPECT_EQ(analyzed.out, total + "\n");
    EXPECT_EQ(Tool(dir, {"sql", bank, "select Weight from Knowledge where ID=301101"}).out,
              "Weight\n11\n");
    const std::string command = GbToUtf8(ReadFileBytes(total));
    EXPECT_NE(command.find("</a><a href=\"Quillory://Answer:"), std::string::npos);

    // The view's page: a blank before each answer link.
    EXPECT_EQ(Tool(dir, {"show", bank, "Quillory://ClassicAnalysis:000000"}).out, total + "\n");
    EXPECT_NE(GbToUtf8(ReadFileBytes(total)).find("</a> <a href=\"Quillory://Answer:"),
              std::string::npos);
    EXPECT_EQ(Tool(dir, {"show", bank, "Quillory://ClassicAnalysis:101000"}).out,
              dir.File("Knowledge/中国地理 第1套 疆域、人口与自然环境.htm") + "\n");

    ASSERT_EQ(Tool(dir, {"sql", bank,
                         "insert into History(ID, RecordDate, RecordTime, KnowledgeID, TotalScore, "
                         "UserScore) values(700001, '2026-03-07', '09:00:00', '301101', 4, 1)"})
                  .status,
              0);
    const std::string summary = dir.File("Knowledge/UserTotal.html");
    for (const auto& [now, rate] :
         {std::pair{"2026-03-14 00:00:00", "25.0%"}, std::pair{"2026-03-14 00:00:01", "-"}}) {
        const Result shown =
            Tool(dir, {"show", bank, "Quillory://HistoryAnalysis:000000", "--now", now});
        ASSERT_EQ(shown.out, summary + "\n") << shown.err;
        const std::string page = GbToUtf8(ReadFileBytes(summary));
        EXPECT_NE(
            page.find("<p align=\"center\">25.0%</p>\n</td>\n<td width=\"50\" "
                      "align=\"center\" valign=\"top\">\n<p align=\"center\">25.0%</p>\n</td>\n"
                      "<td width=\"50\" align=\"center\" valign=\"top\">\n<p "
                      "align=\"center\">" +
                      std::string(rate) + "</p>"),
            std::string::npos)
            << now;
    }
    EXPECT_EQ(Tool(dir, {"show", bank, "Quillory://HistoryAnalysis:000000", "--now", "2026-03-14"})
                  .status,
              2);
}

TEST(QuilloryTool, ShowNeverWritesAPageOverTheDataFileOrAShippedPage) {
    TempDir dir;
    const std::string bank = DemoBank(dir);
    const std::string shipped = ReadFileBytes(dir.File("Question/200001.html"));
    ASSERT_EQ(Tool(dir, {"sql", bank, "update Paper set Url='demo.qlyx' where ID=101000"}).status,
              0);
    ASSERT_EQ(Tool(dir, {"sql", bank,
                         "update Question set AnswerUrl='Question/200001.html1' where ID=200001"})
                  .status,
              0);
    for (const char* link : {"Quillory://Paper:101000", "Quillory://Answer:200001"}) {
        const Result shown = Tool(dir, {"show", bank, link});
        EXPECT_EQ(shown.status, 1) << link;
        EXPECT_EQ(shown.out, "") << link;
        EXPECT_NE(shown.err.find("不能写入文件"), std::string::npos) << shown.err;
    }
    EXPECT_EQ(ReadFileBytes(dir.File("Question/200001.html")), shipped);
    EXPECT_EQ(Tool(dir, {"sql", bank, "select ID from Paper where ID=101000"}).out, "ID\n101000\n");
}

TEST(QuilloryTool, PrintComposesThePrintFileOfANode) {
    TempDir dir;
    const std::string bank = DemoBank(dir);
    const std::string printFile = dir.File("Question/第1部分 单项选择题.htm");

    const Result plain = Tool(dir, {"print", bank, "101100"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, printFile + "\n");
    std::string text = GbToUtf8(ReadFileBytes(printFile));
    EXPECT_NE(text.find("我国的海陆位置可以概括为"), std::string::npos);
    EXPECT_EQ(text.find("我国背靠亚欧大陆"), std::string::npos);

    ASSERT_EQ(Tool(dir, {"print", bank, "--answers", "101100"}).status, 0);
    text = GbToUtf8(ReadFileBytes(printFile));
    EXPECT_NE(text.find("我国背靠亚欧大陆"), std::string::npos);
    EXPECT_EQ(text.find("答案与分析"), std::string::npos);

    const Result unknown = Tool(dir, {"print", bank, "4711"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("4711"), std::string::npos);
    EXPECT_EQ(Tool(dir, {"print", bank, "101100x"}).status, 2);
    EXPECT_EQ(Tool(dir, {"print", bank}).status, 2);
}

TEST(QuilloryTool, AFolderWhereAFileIsExpectedIsReportedInsteadOfAborting) {
    TempDir dir;
    const std::string bank = DemoBank(dir);
    ASSERT_EQ(Tool(dir, {"sql", bank, "update Question set AnswerUrl='Question/' where ID=200001"})
                  .status,
              0);
    const Result printed = Tool(dir, {"print", bank, "101000", "--answers"});
    EXPECT_EQ(printed.status, 0) << printed.err;

    std::filesystem::create_directories(dir.File("src/papers.txt"));
    const Result built = Tool(dir, {"build-bank", dir.File("src"), dir.File("other.qly")});
    EXPECT_EQ(built.status, 1);
    EXPECT_NE(built.err.find(dir.File("src/papers.txt") + ": cannot read the file"),
              std::string::npos)
        << built.err;
}

TEST(QuilloryTool, PrintWithPdfHasTheProgramRenderIt) {
    if (!std::filesystem::exists(std::filesystem::path(QUILLORY_TOOL).parent_path() / "quillory")) {
        GTEST_SKIP() << "the desktop program is not built";
    }
    TempDir dir;
    const std::string bank = DemoBank(dir);
    const std::string pdf = dir.File("第3套.pdf");
    const Result printed = Tool(dir, {"print", bank, "103000", "--answers", "--pdf", pdf});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.out, dir.File("Question/中国地理 第3套 综合测试.htm") + "\n");
    EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-");

    const Result failed =
        Tool(dir, {"print", bank, "103000", "--pdf", dir.File("no such folder/x.pdf")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("无法导出PDF"), std::string::npos) << failed.err;
}

// The templates test bank, built by the tool into dir, with one more slot
// of 复习练习 that names a type too short to match anything.
std::string TemplatesBank(const TempDir& dir) {
    const std::string bank = dir.File("templates.qly");
    const Result built = Tool(dir, {"build-bank", SourceFolder() + "/tests/banks/templates", bank});
    EXPECT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(Tool(dir, {"sql", bank,
                         "insert into PaperTemplate(ID, SuperiorID, Title, IsQuestion, ScoreMax, "
                         "QuestionTypeID) values(402002, 402000, '第02题', 1, 5, '1')"})
                  .status,
              0);
    return bank;
}

TEST(QuilloryTool, GenerateAndTargetedRefuseWhatTheDialogsRefuse) {
    TempDir dir;
    const std::string bank = TemplatesBank(dir);
    const std::vector<std::string> generate{"generate", bank, "--title", "卷"};
    const std::vector<std::string> targeted{"targeted", bank,     "--knowledge", "301000",
                                            "--type",   "900001", "--count",     "3",
                                            "--score",  "2.5",    "--title",     "卷"};
    // The words with some options set to other values, or added.
    const auto with = [](std::vector<std::string> words, const std::vector<std::string>& more) {
        for (size_t m = 0; m + 1 < more.size(); m += 2) {
            const auto at = std::find(words.begin(), words.end(), more[m]);
            if (at == words.end()) {
                words.insert(words.end(), {more[m], more[m + 1]});
            } else {
                *(at + 1) = more[m + 1];
            }
        }
        return words;
    };
    const struct {
        std::vector<std::string> words;
        int status;
        const char* message;
    } cases[] = {
        {with(generate, {"--template", "402001"}), 1, "模版错误！"},  // a slot, no template
        {with(generate, {"--template", "999999"}), 1, "模版错误！"},
        {{"generate", bank, "--template", "402000", "--title", " \t "}, 1, "无效的试卷标题！"},
        {with(generate, {"--template", "402000", "--period", "3"}), 2, "--period"},
        {with(generate, {"--template", "402000", "--now", "2026-03-01"}), 2, "--now"},
        {{"generate", dir.File("none.qly"), "--template", "402000", "--title", "卷"},
         1,
         "none.qly"},
        {with(targeted, {"--count", "0"}), 1, "请输入一个介于 1 和 100 之间的整数。"},
        {with(targeted, {"--count", "101"}), 1, "请输入一个介于 1 和 100 之间的整数。"},
        {with(targeted, {"--score", "100.5"}), 0, ""},
        {with(targeted, {"--score", "101"}), 1, "请输入一个介于 0 和 100 之间的整数。"},
        {with(targeted, {"--count", "4"}), 1, "试题数量超出总题数！"},
        {with(targeted, {"--knowledge", "301200", "--count", "2"}), 1, "试题数量超出总题数！"},
        {with(targeted, {"--type", "900003"}), 1, "请选择试题类型！"},
        {with(targeted, {"--title", "  "}), 1, "请输入试卷标题！"},
        {with(targeted, {"--knowledge", "999999"}), 1, "999999"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words = c.words;
        words.push_back("--dry-run");
        const Result result = Tool(dir, words);
        EXPECT_EQ(result.status, c.status) << ::testing::PrintToString(words) << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        if (c.status != 0) {
            EXPECT_EQ(result.out, "") << result.out;
        }
    }
    EXPECT_EQ(Tool(dir, {"sql", bank, "select count(*) as n from Paper"}).out, "n\n0\n");
}

TEST(QuilloryTool, GenerateRepeatsAPaperForTheSameSeedAndStoresItUnlessDryRun) {
    TempDir dir;
    const std::string bank = TemplatesBank(dir);
    const std::vector<std::string> words{
        "generate",   bank,       "--template",         "402000", "--title",
        " 复习 ",     "--adjust", "--period",           "1",      "--seed-time",
        "1700000000", "--now",    "2026-03-01 12:00:00"};
    std::vector<std::string> dry = words;
    dry.push_back("--dry-run");
    // The paper's 5 points capped over its two slots of 5, the last first.
    const std::string rows =
        "550001\t0\t0\t5.000000\t0\t复习\tQuestion\\P550001.html\t0\t1\n"
        "550002\t550001\t200004\t3.000000\t0\t第001题\t\t1\t0\n"
        "550003\t550001\t-1\t2.000000\t0\t第002题\t\t1\t0\n"
        "MSG\t组卷错误，模版项402002。\n";
    const Result first = Tool(dir, dry);
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, rows);
    EXPECT_EQ(Tool(dir, dry).out, rows);
    EXPECT_EQ(Tool(dir, {"sql", bank, "select count(*) as n from Paper"}).out, "n\n0\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Question/P550001.html")));

    const Result stored = Tool(dir, words);
    EXPECT_EQ(stored.status, 0) << stored.err;
    EXPECT_EQ(stored.out, rows);
    EXPECT_EQ(Tool(dir, {"sql", bank, "select ID, QuestionID, Url, IsSystem from Paper"}).out,
              "ID\tQuestionID\tUrl\tIsSystem\n550001\t0\tQuestion\\\\P550001.html\t1\n"
              "550002\t200004\t\t0\n550003\t-1\t\t0\n");
    EXPECT_EQ(ReadFileBytes(dir.File("Question/P550001.html")),
              ReadFileBytes(dir.File("Question/T402000.html")));

    ASSERT_EQ(Tool(dir, {"sql", bank,
                         "create trigger refuse before insert on Paper when new.ID = 550005 "
                         "begin select raise(abort, 'disk full'); end"})
                  .status,
              0);
    const Result failed = Tool(dir, words);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_NE(failed.err.find("无法保存试卷：disk full"), std::string::npos) << failed.err;
    EXPECT_EQ(Tool(dir, {"sql", bank, "select count(*) as n from Paper"}).out, "n\n3\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Question/P550004.html")));
}

TEST(QuilloryTool, TargetedScoresEachQuestionByTheWholeScore) {
    TempDir dir;
    const std::string bank = TemplatesBank(dir);
    const std::vector<std::string> words{"targeted",    bank,
                                         "--knowledge", "301000",
                                         "--type",      "900001",
                                         "--count",     "3",
                                         "--score",     "2.5",
                                         "--title",     "专项",
                                         "--now",       "2026-03-01 12:00:00",
                                         "--seed-time", "1"};
    // Three questions weighing 120 each; seeded from second 1 the draws
    // 13414, 25768 and 21940 fall on the first, second and third.
    const Result made = Tool(dir, words);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out,
              "550001\t0\t0\t6.000000\t0\t专项\t\t0\t1\n"
              "550002\t550001\t200001\t2.000000\t0\t第001题\t\t1\t0\n"
              "550003\t550001\t200002\t2.000000\t0\t第002题\t\t1\t0\n"
              "550004\t550001\t200003\t2.000000\t0\t第003题\t\t1\t0\n");
    EXPECT_EQ(Tool(dir, words).out.substr(0, 6), "550005") << "the second paper follows";
}

TEST(QuilloryTool, MistakesListsEachWrongQuestionOnceInThePagesOrder) {
    TempDir dir;
    const std::string bank = dir.File("bank.qly");
    ASSERT_EQ(Tool(dir, {"new", bank}).status, 0);
    for (const char* sql : {
             "insert into Knowledge(ID, SuperiorID, Title) values(300001, 0, '第1章')",
             "insert into Knowledge(ID, SuperiorID, Title) values(300002, 300001, '1.1')",
             "insert into Question(ID, Knowledge) values(200001, '300002,300001')",
             "insert into Question(ID, Knowledge) values(200002, '300002')",
             "insert into History(ID, RecordDate, RecordTime, QuestionID, TotalScore, UserScore) "
             "values(700001, '2026-03-10', '09:00:00', 200001, 2, 0)",
             "insert into History(ID, RecordDate, RecordTime, QuestionID, TotalScore, UserScore) "
             "values(700002, '2026-03-01', '09:00:00', 200002, 2, 1)",
             "insert into History(ID, RecordDate, RecordTime, QuestionID, TotalScore, UserScore) "
             "values(700003, '2026-02-01', '09:00:00', 200002, 2, 2)",
         }) {
        ASSERT_EQ(Tool(dir, {"sql", bank, sql}).status, 0) << sql;
    }
    const std::vector<std::string> words{"mistakes", bank, "--now", "2026-03-14 12:00:00"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> all = words;
        all.insert(all.end(), more.begin(), more.end());
        return Tool(dir, all);
    };
    const struct {
        std::vector<std::string> more;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {{}, 0, "200001\t300002,300001\t1\t0\t2026-03-10\n200002\t300002\t1\t1\t2026-03-01\n", ""},
        {{"--days", "all", "--knowledge", "300002"},
         0,
         "200001\t300002,300001\t1\t0\t2026-03-10\n200002\t300002\t1\t1\t2026-03-01\n",
         ""},
        {{"--days", "7"}, 0, "200001\t300002,300001\t1\t0\t2026-03-10\n", ""},
        {{"--days", "5"}, 2, "", "--days"},
        {{"--knowledge", "300009"}, 1, "", "no knowledge point 300009"},
        {{"--now", "2026-03-14"}, 2, "", "--now"},
        {{"--redo", " \t "}, 1, "", "无效的试卷标题！"},
        // One section per type (none here: "其他"), each question its last full marks.
        {{"--redo", " 错题重做 "},
         0,
         "550001\t0\t0\t4.000000\t0\t错题重做\t\t0\t1\n"
         "550002\t550001\t0\t4.000000\t0\t其他\t\t0\t0\n"
         "550003\t550002\t200001\t2.000000\t0\t第001题\t\t1\t0\n"
         "550004\t550002\t200002\t2.000000\t0\t第002题\t\t1\t0\n",
         ""},
    };
    for (const auto& c : cases) {
        const Result result = with(c.more);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.out, c.out);
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
    EXPECT_EQ(Tool(dir, {"sql", bank, "select count(*) as n from Paper"}).out, "n\n4\n");
}

// A refused file writes nothing and names its problems; a dry run prints
// what the import prints; importing again updates the same questions.
TEST(QuilloryTool, ImportQuestionsPrintsItsLinesAndWritesAllOrNothing) {
    TempDir dir;
    const std::string bank = dir.File("bank.qly");
    ASSERT_EQ(Tool(dir, {"new", bank}).status, 0);
    WriteFileBytes(dir.File("题.csv"),
                   "序号,题型,题干,选项A,选项B,答案,分值\n1,单选题,一加一等于几,1,2,B,2\n"
                   "2,判断题,地球是圆的,,,对,\n");
    WriteFileBytes(dir.File("坏.csv"), "题干,选项A,选项B,答案\n一加一等于几,1,2,C\n");
    const std::string lines = "100001\tsingle\t单选题\t题!2\n100002\ttruefalse\t判断题\t题!3\n";
    const struct {
        std::vector<std::string> files;
        int status;
        std::string out;
        const char* err;
    } cases[] = {
        {{dir.File("题.csv"), "--dry-run"},
         0,
         lines + "共 2 题：新增 2 题，更新 0 题；1 个试卷，2 个新题型，0 个新知识点\n",
         ""},
        {{dir.File("坏.csv"), dir.File("题.csv")}, 1, "", "坏.csv:坏:2: 答案中的选项 C 不存在\n"},
        {{dir.File("题.csv"), dir.File("坏.csv"), "--title", "卷"}, 2, "", "--title"},
        {{dir.File("题.csv")},
         0,
         lines + "共 2 题：新增 2 题，更新 0 题；1 个试卷，2 个新题型，0 个新知识点\n",
         ""},
        {{dir.File("题.csv")},
         0,
         lines + "共 2 题：新增 0 题，更新 2 题；1 个试卷，0 个新题型，0 个新知识点\n",
         ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"import-questions", bank};
        words.insert(words.end(), c.files.begin(), c.files.end());
        const Result result = Tool(dir, words);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.out, c.out);
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        if (c.status != 0 || c.files.back() == "--dry-run") {
            EXPECT_EQ(Tool(dir, {"sql", bank, "select count(*) as n from Question"}).out, "n\n0\n");
        }
    }
    EXPECT_EQ(Tool(dir, {"sql", bank, "select Title, Score from Paper where SuperiorID=0"}).out,
              "Title\tScore\n题\t4.0\n");
}

// --format reads a file in the format named whatever its name; the GIFT
// file of the reader tests goes into a bank whole but for its broken
// question.
TEST(QuilloryTool, ImportQuestionsReadsTheFormatGivenAndGiftIntoABank) {
    TempDir dir;
    const std::string bank = dir.File("bank.qly");
    ASSERT_EQ(Tool(dir, {"new", bank}).status, 0);
    WriteFileBytes(dir.File("选择.dat"), "题\nA. 甲\nB. 乙\nANSWER: B\n");
    const std::string gift = SourceFolder() + "/tests/core/exchange/files/测验.gift";
    const struct {
        std::vector<std::string> more;
        int status;
        const char* out;
        const char* err;
    } cases[] = {
        {{dir.File("选择.dat")}, 1, "", "选择.dat: 不能导入这种文件"},
        {{dir.File("选择.dat"), "--format", "aiken", "--dry-run"},
         0,
         "100001\tsingle\t单项选择题\t1\n",
         ""},
        {{dir.File("选择.dat"), "--format", "xml"}, 2, "", "unknown format \"xml\""},
        {{gift}, 1, "", "测验.gift:48: 答案的“{”没有对应的“}”"},
        {{gift, "--skip-bad"}, 0, "共 13 题：新增 13 题", ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"import-questions", bank};
        words.insert(words.end(), c.more.begin(), c.more.end());
        const Result result = Tool(dir, words);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
    EXPECT_EQ(Tool(dir, {"sql", bank,
                         "select count(*) as n, count(distinct TypeID) as types from Question"})
                  .out,
              "n\ttypes\n13\t6\n");
}

// Moodle XML and a QTI package: every question read lands in the bank, the
// pictures beside their pages.
TEST(QuilloryTool, ImportQuestionsTakesMoodleXmlAndQtiPackages) {
    TempDir dir;
    const std::string bank = dir.File("bank.qly");
    ASSERT_EQ(Tool(dir, {"new", bank}).status, 0);
    WriteFileBytes(dir.File("试题包.zip"), testing::QtiPackage());
    const struct {
        std::vector<std::string> words;
        const char* summary;
        const char* picture;
    } cases[] = {
        {{testing::ExchangeFile("题库.xml")},
         "共 8 题：新增 8 题，更新 0 题；1 个试卷，7 个新题型，4 个新知识点\n",
         "Question/100001_files/抛物线.png"},
        {{dir.File("试题包.zip"), "--skip-bad"},
         "共 5 题：新增 5 题，更新 0 题；1 个试卷，0 个新题型，0 个新知识点；跳过 1 处问题\n",
         "Question/100009_files/triangle.png"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"import-questions", bank};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const Result result = Tool(dir, words);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(result.out.ends_with(c.summary)) << result.out;
        EXPECT_EQ(ReadFileBytes(dir.File(c.picture)).substr(1, 3), "PNG");
    }
    EXPECT_EQ(Tool(dir, {"sql", bank, "select count(*) as n from Question"}).out, "n\n13\n");
}

TEST(QuilloryTool, ExportQuestionsWritesTheFormatItsFileNames) {
    TempDir dir;
    const std::string bank = DemoBank(dir);
    const std::string one = dir.File("一题.csv");
    const struct {
        std::vector<std::string> words;
        int status;
        std::string out;
        const char* err;
    } cases[] = {
        {{"--paper", "101101", one},
         0,
         "200001\tsingle\t单项选择题\n已导出 1 题到 " + one + "\n",
         ""},
        {{"--all", dir.File("全部.gift")}, 0, "", "WARN 200055: 嵌入答案题无法写成 GIFT，未导出"},
        {{"--knowledge", "999", dir.File("k.xlsx")}, 1, "", "knowledge point 999 does not exist"},
        {{"--all", dir.File("全部.txt")}, 1, "", "names no export format"},
        {{"--all", "--paper", "101000", dir.File("x.csv")}, 2, "", "one of --paper"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> words{"export-questions", bank};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const Result result = Tool(dir, words);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (!c.out.empty()) {
            EXPECT_EQ(result.out, c.out);
        }
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
    // The sheet goes back through the import: the unchanged row changes nothing.
    const Result again = Tool(dir, {"import-questions", bank, one});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("共 0 题：新增 0 题，更新 0 题；0 个试卷，0 个新题型，0 个新知识点；1 "
                             "题与题库相同，未改动"),
              std::string::npos)
        << again.out;
}

}  // namespace
}  // namespace quillory
