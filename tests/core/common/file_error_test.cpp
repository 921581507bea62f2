#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/common/file_error.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

TEST(FileErrorText, NamesTheFileAndTheSystemsReason) {
    testing::TempDir dir;
    const std::string path = dir.File("missing/第1套.htm");
    errno = 0;
    ASSERT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
    EXPECT_EQ(FileErrorText(path, errno), "Open file " + path + ": " + std::strerror(ENOENT));
}

}  // namespace
}  // namespace quillory
