#include "core/common/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(ProgramFolderOf, IsTheBuildTreeWithItsTemplateElseTheInstalledShareFolder) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.File("build/Template"));
    std::filesystem::create_directories(dir.File("usr/bin"));
    std::filesystem::create_directories(dir.File("opt/bin"));
    testing::WriteFileBytes(dir.File("opt/bin/Template"), "not a folder");
    struct Case {
        const char* executableFolder;
        const char* programFolder;
    };
    const Case cases[] = {
        {"build", "build"},
        {"usr/bin", "usr/share/quillory"},
        {"opt/bin", "opt/share/quillory"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgramFolderOf(dir.File(c.executableFolder)), dir.File(c.programFolder))
            << c.executableFolder;
    }
}

}  // namespace
}  // namespace quillory
