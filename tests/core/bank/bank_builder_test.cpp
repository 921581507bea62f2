#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/bank/bank_builder.h"
#include "core/common/gb_encoding.h"
#include "core/store/data_store.h"
#include "source_files.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

namespace fs = std::filesystem;
using testing::FileList;
using testing::ProgramFolder;
using testing::ReadFileBytes;
using testing::SmallDisk;
using testing::TempDir;
using testing::WriteFiles;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

const FileList kSource = {
    {"types.txt", "[QuestionType 1]\nTitle = 单项选择题\n"},
    {"knowledge.txt",
     "[Knowledge 300101]\nTitle = 河流\nUrl = Knowledge/300101.html\nKeyWord = 长江,河流\n"
     "Weight = 3\n"},
    {"questions.txt",
     "[Question 200101]\nTypeID = 1\nUrl = Question/200101.html\nKnowledge = 300101\n"
     "Answer <<\n10,10,300,20,label,选择正确的一项:\n10,40,200,20,radio,A. "
     "长江,1,group,auto\n>>\n"},
    {"papers.txt",
     "[Paper 100001]\nTitle = 地理 'A' 卷\nTimeLimit = 60\nIsReference = true\n"
     "[Paper 100002]\nSuperiorID = 100001\nQuestionID = 200101\nIsQuestion = 1\n"
     "Score = 2.5\nTitle = 第001题\n"},
    {"Question/200101.html",
     "<html><head><meta charset=\"utf-8\"></head><body>[试题] 长江</body></html>"},
    {"Question/image/dot.gif", std::string("GIF89a\x00\xFF\x80", 9)},
    {"Knowledge/300101.html", "<p>河流</p>"},
    {"Help/readme.txt", "帮助"},
};

// BuildBank with the detail of its failure in error.
bool Build(const std::string& source, const std::string& dataFile, std::string& error) {
    const Status built = BuildBank(source, dataFile, ProgramFolder());
    error = built ? std::string() : built.error().detail;
    return built.ok();
}

TEST(BuildBank, StoresEveryRecordAndWritesThePages) {
    TempDir dir;
    WriteFiles(dir.File("src"), kSource);
    const std::string dataFile = dir.File("bank.qly");
    std::string error;
    ASSERT_TRUE(Build(dir.File("src"), dataFile, error)) << error;

    auto store = testing::OpenDataStore(dataFile);
    ASSERT_TRUE(store);
    auto question = store->Query("select * from Question where ID=200101");
    ASSERT_TRUE(question && !question->AtEnd());
    EXPECT_EQ(question->Text("Answer"),
              "10,10,300,20,label,选择正确的一项:\r\n10,40,200,20,radio,A. 长江,1,group,auto");
    EXPECT_EQ(question->Int("Level"), 0);  // not given: the default
    EXPECT_EQ(question->Text("GroupID"), "");
    auto paper = store->Query("select * from Paper order by ID");
    ASSERT_TRUE(paper && !paper->AtEnd());
    EXPECT_EQ(paper->Text("Title"), "地理 'A' 卷");
    EXPECT_EQ(paper->Int("TimeLimit"), 60);
    EXPECT_TRUE(paper->Bool("IsReference"));
    EXPECT_FALSE(paper->Bool("IsSystem"));
    paper->Next();
    EXPECT_EQ(paper->Int("SuperiorID"), 100001);
    EXPECT_TRUE(paper->Bool("IsQuestion"));
    EXPECT_FLOAT_EQ(paper->Single("Score"), 2.5f);
    auto knowledge = store->Query("select * from Knowledge where KeyWord like '*长江*'");
    ASSERT_TRUE(knowledge && !knowledge->AtEnd());
    EXPECT_EQ(knowledge->Int("Weight"), 3);
    auto type = store->Query("select * from QuestionType");
    ASSERT_TRUE(type && !type->AtEnd());
    EXPECT_EQ(type->Text("Title"), "单项选择题");

    EXPECT_EQ(
        ReadFileBytes(dir.File("Question/200101.html")),
        Utf8ToGb("<html><head><meta charset=\"gb2312\"></head><body>[试题] 长江</body></html>"));
    EXPECT_EQ(ReadFileBytes(dir.File("Knowledge/300101.html")),
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">" +
                  Utf8ToGb("<p>河流</p>"));
    EXPECT_EQ(ReadFileBytes(dir.File("Question/image/dot.gif")),
              std::string("GIF89a\x00\xFF\x80", 9));
    EXPECT_EQ(ReadFileBytes(dir.File("Help/readme.txt")), "帮助");
    for (const char* folder : {"Question", "Knowledge", "Help"}) {
        EXPECT_TRUE(fs::is_directory(dir.File(std::string(folder) + "/common"))) << folder;
    }
}

TEST(BuildBank, RefusesAnExistingDataFileAndLeavesItAlone) {
    TempDir dir;
    WriteFiles(dir.Path(), {{"bank.qly", "mine"}});
    WriteFiles(dir.File("src"), kSource);
    std::string error;
    EXPECT_FALSE(Build(dir.File("src"), dir.File("bank.qly"), error));
    EXPECT_NE(error.find("exists already"), std::string::npos) << error;
    EXPECT_EQ(ReadFileBytes(dir.File("bank.qly")), "mine");
    EXPECT_FALSE(fs::exists(dir.File("Question")));
}

TEST(BuildBank, ABadTableFileLeavesNothingBehind) {
    TempDir dir;
    FileList source = kSource;
    source.push_back({"templates.txt", "[PaperTemplate 400001]\nScoreMax = ten\n"});
    WriteFiles(dir.File("src"), source);
    std::string error;
    EXPECT_FALSE(Build(dir.File("src"), dir.File("bank.qly"), error));
    EXPECT_EQ(error, dir.File("src/templates.txt") +
                         ":2: ScoreMax: \"ten\" is not a number (decimals are written with \".\")");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"src"});
}

TEST(BuildBank, APageThatIsNotUtf8IsNamedAndLeavesNothingBehind) {
    TempDir dir;
    FileList source = kSource;
    source.push_back({"Question/200102.html", Utf8ToGb("<p>长江</p>")});
    WriteFiles(dir.File("src"), source);
    fs::create_directory(dir.File("out"));
    std::string error;
    EXPECT_FALSE(Build(dir.File("src"), dir.File("out/bank.qly"), error));
    EXPECT_NE(error.find("Question/200102.html: not valid UTF-8"), std::string::npos) << error;
    EXPECT_EQ(Entries(dir.File("out")), std::vector<std::string>{});
}

TEST(BuildBank, AFailureAfterTheDataFileWasMadeRemovesItButKeepsFoldersItFound) {
    TempDir dir;
    WriteFiles(dir.File("src"), kSource);
    // A folder where a page must go makes the page writing fail late.
    WriteFiles(dir.Path(), {{"Question/200101.html/keep.txt", "other bank"}});
    std::string error;
    EXPECT_FALSE(Build(dir.File("src"), dir.File("bank.qly"), error));
    EXPECT_NE(error.find("200101.html"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir.File("bank.qly")));
    EXPECT_FALSE(fs::exists(dir.File("Knowledge")));
    EXPECT_FALSE(fs::exists(dir.File("Help")));
    EXPECT_EQ(ReadFileBytes(dir.File("Question/200101.html/keep.txt")), "other bank");
}

TEST(BuildBank, AFolderWhereATableFileIsExpectedIsNamedAndLeavesNothingBehind) {
    TempDir dir;
    WriteFiles(dir.File("src"), kSource);
    fs::remove(dir.File("src/papers.txt"));
    fs::create_directory(dir.File("src/papers.txt"));
    std::string error;
    EXPECT_FALSE(Build(dir.File("src"), dir.File("bank.qly"), error));
    EXPECT_EQ(error, dir.File("src/papers.txt") + ": cannot read the file: Is a directory");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"src"});
}

TEST(BuildBank, ASourceWithoutTableFilesIsRefused) {
    TempDir dir;
    WriteFiles(dir.File("src"), {{"Question/a.html", "<p>a</p>"}});
    std::string error;
    EXPECT_FALSE(Build(dir.File("src"), dir.File("bank.qly"), error));
    EXPECT_NE(error.find("no table file"), std::string::npos) << error;
    EXPECT_FALSE(Build(dir.File("nothing"), dir.File("bank.qly"), error));
    EXPECT_NE(error.find("no such bank source folder"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir.File("bank.qly")));
}

// Every file below folder with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string relative = entry.path().lexically_relative(folder).string();
        files[relative] = entry.is_regular_file() ? ReadFileBytes(entry.path().string()) : "/";
    }
    return files;
}

const FileList kOtherSource = {
    {"types.txt", "[QuestionType 1]\nTitle = 填空题\n"},
    {"Question/b1.html", "<p>另一题</p>"},
};

// A bank built into a folder that holds another bank never changes that
// bank's files, whether it succeeds or fails.
TEST(BuildBank, ABankBesideAnotherLeavesItsFilesAlone) {
    const struct {
        const char* name;
        FileList extra;
        bool built;
        const char* fragment;
    } cases[] = {
        {"own pages", {}, true, ""},
        {"a page of the same name",
         {{"Question/200101.html", "<p>替换</p>"}},
         false,
         "Question/200101.html exists already"},
        {"a template file of its own",
         {{"Help/common/image/bk_knowledge.gif", "GIF89a"}},
         false,
         "exists already"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteFiles(dir.File("src"), kSource);
        fs::create_directory(dir.File("out"));
        std::string error;
        ASSERT_TRUE(Build(dir.File("src"), dir.File("out/first.qly"), error)) << error;
        FileList other = kOtherSource;
        other.insert(other.end(), c.extra.begin(), c.extra.end());
        WriteFiles(dir.File("other"), other);
        const auto before = Snapshot(dir.File("out"));

        EXPECT_EQ(Build(dir.File("other"), dir.File("out/second.qly"), error), c.built) << error;
        EXPECT_NE(error.find(c.fragment), std::string::npos) << error;
        auto after = Snapshot(dir.File("out"));
        if (c.built) {
            EXPECT_TRUE(DataStore::Open(dir.File("out/second.qly")));
            EXPECT_EQ(ReadFileBytes(dir.File("out/Question/b1.html")).find(Utf8ToGb("另一题")) !=
                          std::string::npos,
                      true);
            after.erase("second.qly");
            after.erase("Question/b1.html");
        }
        EXPECT_EQ(after, before);
    }
}

TEST(BuildBank, ACopyThatFailsHalfWayOnAFullDiskLeavesTheOtherBankAsItWas) {
    SmallDisk disk(1024);
    if (!disk.Mounted()) {
        GTEST_SKIP() << "a small disk needs root";
    }
    TempDir dir;
    WriteFiles(dir.File("src"), kSource);
    std::string error;
    ASSERT_TRUE(Build(dir.File("src"), disk.File("first.qly"), error)) << error;
    FileList other = kOtherSource;
    other.push_back({"Question/zz.bin", std::string(2 << 20, 'z')});
    WriteFiles(dir.File("other"), other);
    const auto before = Snapshot(disk.Path());

    EXPECT_FALSE(Build(dir.File("other"), disk.File("second.qly"), error));
    EXPECT_NE(error.find("zz.bin: cannot copy"), std::string::npos) << error;
    EXPECT_EQ(Snapshot(disk.Path()), before);
}

}  // namespace
}  // namespace quillory
