#include "core/store/data_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/store/schema.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

namespace fs = std::filesystem;
using testing::MakeDataFile;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(DataFileTitle, IsTheNameBetweenTheLastSlashAndTheLastDot) {
    EXPECT_EQ(DataFileTitle("/data/work.qly"), "work");
    EXPECT_EQ(DataFileTitle("/data/my.bank.qly"), "my.bank");
    EXPECT_EQ(DataFileTitle("/data/noext"), "noext");
    EXPECT_EQ(DataFileTitle("/data.d/noext"), "");
    EXPECT_EQ(DataFileTitle("/data/示例题库.qly"), "示例题库");
    EXPECT_EQ(ApplicationTitle("work"), "穹岚 - work");
    EXPECT_EQ(ApplicationTitle(""), "穹岚 - ");
}

// A program folder of its own, so the test controls the template's content.
class DataFileCreation : public ::testing::Test {
protected:
    void SetUp() override {
        program_ = dir_.File("program");
        const fs::path common = fs::path(program_) / "Template" / "common";
        fs::create_directories(common / "image" / "small");
        MakeDataFile(program_ + "/Template/Template.dat");
        WriteFileBytes((common / "style.css").string(), "body{}");
        WriteFileBytes((common / "image" / "bk_knowledge.gif").string(), "GIF89a");
        WriteFileBytes((common / "image" / "small" / "dot.gif").string(), "GIF89a.");
        fs::create_directories(dir_.File("data"));
    }

    TempDir dir_;
    std::string program_;
};

TEST_F(DataFileCreation, ANewFileGetsTheTemplateAndACommonCopyInEachPageFolder) {
    const std::string file = dir_.File("data/work.qly");
    Result<OpenedDataFile> result = OpenDataFile(file, program_, CreateIfMissing::Yes);
    ASSERT_TRUE(result) << result.error().detail;
    OpenedDataFile& opened = *result;
    EXPECT_TRUE(opened.created);
    EXPECT_EQ(opened.fullPath, file);
    EXPECT_EQ(opened.dataFolder, dir_.File("data"));
    EXPECT_EQ(opened.title, "work");
    EXPECT_EQ(opened.applicationTitle, "穹岚 - work");
    for (const char* pages : {"Knowledge", "Question", "Help"}) {
        const std::string base = dir_.File("data/") + pages + "/common/";
        EXPECT_EQ(ReadFileBytes(base + "style.css"), "body{}") << pages;
        EXPECT_EQ(ReadFileBytes(base + "image/bk_knowledge.gif"), "GIF89a") << pages;
        EXPECT_EQ(ReadFileBytes(base + "image/small/dot.gif"), "GIF89a.") << pages;
    }
    auto rows = opened.store->Query("select * from ConfigProduct");
    ASSERT_TRUE(rows);
    EXPECT_FALSE(rows->AtEnd());
}

TEST_F(DataFileCreation, ExistingPageFilesAreNeverOverwritten) {
    fs::create_directories(dir_.File("data/Question/common"));
    WriteFileBytes(dir_.File("data/Question/common/style.css"), "mine");
    ASSERT_TRUE(CreateFromTemplate(program_, dir_.File("data/b.qly")));
    EXPECT_EQ(ReadFileBytes(dir_.File("data/Question/common/style.css")), "mine");
    EXPECT_EQ(ReadFileBytes(dir_.File("data/Help/common/style.css")), "body{}");
}

TEST_F(DataFileCreation, AnExistingFileIsOpenedUnchanged) {
    const std::string file = dir_.File("data/old.qly");
    MakeDataFile(file)->Execute("insert into Paper(ID, Title) values(7, '旧卷')");
    const std::string before = ReadFileBytes(file);
    Result<OpenedDataFile> opened = OpenDataFile(file, program_, CreateIfMissing::No);
    ASSERT_TRUE(opened);
    EXPECT_FALSE(opened->created);
    EXPECT_EQ(opened->dataFolder, dir_.File("data"));
    EXPECT_FALSE(fs::exists(dir_.File("data/Question")));
    opened->store.reset();
    EXPECT_EQ(ReadFileBytes(file), before);
}

TEST_F(DataFileCreation, AFileThatIsNoDataFileFailsAndIsKept) {
    const std::string file = dir_.File("data/notes.qly");
    WriteFileBytes(file, "plain text");
    Result<OpenedDataFile> opened = OpenDataFile(file, program_, CreateIfMissing::Yes);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().code, ErrorCode::WrongPassword) << opened.error().detail;
    EXPECT_EQ(ReadFileBytes(file), "plain text");
}

TEST_F(DataFileCreation, AFileNewerThanTheProgramSaysSo) {
    const std::string file = dir_.File("data/newer.qly");
    MakeDataFile(file)->Execute("pragma user_version=99");
    Result<OpenedDataFile> opened = OpenDataFile(file, program_, CreateIfMissing::No);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().code, ErrorCode::NewerFile);
}

TEST_F(DataFileCreation, AMissingNameNotToBeCreatedFailsAndMakesNothing) {
    Result<OpenedDataFile> opened =
        OpenDataFile(dir_.File("data/typo.qly"), program_, CreateIfMissing::No);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().code, ErrorCode::FileMissing);
    EXPECT_TRUE(fs::is_empty(dir_.File("data")));
}

TEST_F(DataFileCreation, AMissingTemplateOrFolderFailsWithoutAFile) {
    EXPECT_FALSE(OpenDataFile(dir_.File("nowhere/x.qly"), program_, CreateIfMissing::Yes));
    EXPECT_FALSE(fs::exists(dir_.File("nowhere")));
    EXPECT_FALSE(
        OpenDataFile(dir_.File("data/y.qly"), dir_.File("no-program"), CreateIfMissing::Yes));
    EXPECT_FALSE(fs::exists(dir_.File("data/y.qly")));
}

TEST(ProgramTemplate, TheBuildMakesAnOpenableTemplateOfThisVersion) {
    auto store = DataStore::Open(testing::ProgramFolder() + "/Template/Template.dat");
    ASSERT_TRUE(store);
    auto rows = (*store)->Query("pragma user_version");
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->Int("user_version"), kSchemaVersion);
}

}  // namespace
}  // namespace quillory
