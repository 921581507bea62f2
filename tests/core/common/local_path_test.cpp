#include <gtest/gtest.h>

#include "core/common/local_path.h"

namespace quillory {
namespace {

TEST(IsLocalPath, TakesEveryNonEmptyLocationButRemoteAddressesAsLocal) {
    EXPECT_TRUE(IsLocalPath("Question\\1.html"));
    EXPECT_TRUE(IsLocalPath("  Knowledge/第1节.html \r\n"));
    EXPECT_TRUE(IsLocalPath("httpdocs/a.html"));
    EXPECT_TRUE(IsLocalPath("ftp/a.html"));
    EXPECT_FALSE(IsLocalPath(""));
    EXPECT_FALSE(IsLocalPath(" \t "));
}

TEST(IsLocalPath, HandsWebAndFtpAddressesToTheBrowserInAnyCase) {
    EXPECT_FALSE(IsLocalPath("http://example.org/a.html"));
    EXPECT_FALSE(IsLocalPath("HTTP://example.org/a.html"));
    EXPECT_FALSE(IsLocalPath("  ftp://example.org/a.html"));
    EXPECT_FALSE(IsLocalPath("Ftp:a.html"));
    EXPECT_FALSE(IsLocalPath("https://example.org/a.html"));
    EXPECT_FALSE(IsLocalPath("HTTPS://example.org/a.html"));
}

TEST(ResolveLocalPath, JoinsTheTrimmedLocationToTheDataFolder) {
    EXPECT_EQ(ResolveLocalPath("/data", "Knowledge/k.html"), "/data/Knowledge/k.html");
    EXPECT_EQ(ResolveLocalPath("/data", " Question\\数学\\第1题.html\t"),
              "/data/Question/数学/第1题.html");
}

}  // namespace
}  // namespace quillory
