#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
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
Result Tool(const TempDir& dir, std::initializer_list<std::string> words) {
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
    for (const char* command : {"new DATAFILE", "sql DATAFILE STATEMENT",
                                "build-bank SOURCE_DIR DATAFILE", "check DATAFILE"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(Tool(dir, {}).status, 2);
    const Result unknown = Tool(dir, {"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos);
    EXPECT_EQ(Tool(dir, {"check"}).status, 2);
    EXPECT_EQ(Tool(dir, {"build-bank", "only-one"}).status, 2);
    EXPECT_EQ(Tool(dir, {"sql", dir.File("a.qly")}).status, 2);
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
}

}  // namespace
}  // namespace quillory
