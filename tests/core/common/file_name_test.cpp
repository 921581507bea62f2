#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/common/file_name.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(SanitizeFileName, ReplacesSeparatorsSoATitleCannotLeaveItsFolder) {
    EXPECT_EQ(SanitizeFileName("a/../b"), "a_.._b");
    EXPECT_EQ(SanitizeFileName("../../.bashrc"), ".._.._.bashrc");
    EXPECT_EQ(SanitizeFileName("..\\..\\x"), ".._.._x");
    EXPECT_EQ(SanitizeFileName("/etc/passwd"), "_etc_passwd");
}

TEST(SanitizeFileName, ReplacesCharactersThatOtherSystemsForbid) {
    EXPECT_EQ(SanitizeFileName("x:y?z"), "x_y_z");
    EXPECT_EQ(SanitizeFileName("a*b\"c<d>e|f"), "a_b_c_d_e_f");
    EXPECT_EQ(SanitizeFileName("C:\\第1套"), "C__第1套");
    EXPECT_EQ(SanitizeFileName(std::string_view("a\0b\nc", 5)), "a_b_c");
}

TEST(SanitizeFileName, KeepsChineseSpacesAndOtherDots) {
    EXPECT_EQ(SanitizeFileName("第1套"), "第1套");
    EXPECT_EQ(SanitizeFileName("历史分析 第1套-2024-05-01-10-20-30.htm"),
              "历史分析 第1套-2024-05-01-10-20-30.htm");
    EXPECT_EQ(SanitizeFileName("..."), "...");
    EXPECT_EQ(SanitizeFileName(".print.htm"), ".print.htm");
}

TEST(SanitizeFileName, TurnsEmptyAndDotNamesIntoUnderscores) {
    EXPECT_EQ(SanitizeFileName(""), "_");
    EXPECT_EQ(SanitizeFileName("."), "_");
    EXPECT_EQ(SanitizeFileName(".."), "__");
}

TEST(FileInFolder, CreatesEveryFileInsideTheFolderWhateverTheTitle) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.File("Knowledge"));
    const std::string folder = dir.File("Knowledge");
    for (const char* title : {"a/../b", "../../escape", "..", ".", "", "x:y?z", "第1套/第2节"}) {
        const std::string path = FileInFolder(folder, title);
        std::ofstream(path) << "page";
        const std::filesystem::path written(path);
        EXPECT_EQ(written.parent_path(), std::filesystem::path(folder)) << title;
        EXPECT_TRUE(std::filesystem::is_regular_file(written)) << title;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("escape")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("b")));
}

TEST(FileInFolder, JoinsWithOneSlash) {
    EXPECT_EQ(FileInFolder("/data/Knowledge", "第1套.htm"), "/data/Knowledge/第1套.htm");
    EXPECT_EQ(FileInFolder("/data/Knowledge/", "a:b.htm"), "/data/Knowledge/a_b.htm");
}

}  // namespace
}  // namespace quillory
