#include <gtest/gtest.h>

#include <filesystem>

#include "core/common/local_path.h"
#include "support/temp_dir.h"

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

TEST(ResolveLocation, ReadsEveryLocationOneWay) {
    struct Case {
        const char* location;
        LocationKind kind;
        const char* address;
        const char* path;
    };
    const Case cases[] = {
        {"Knowledge/k.html", LocationKind::Local, "Knowledge/k.html", "/data/Knowledge/k.html"},
        {" Question\\数学\\第1题.html\t", LocationKind::Local, "Question\\数学\\第1题.html",
         "/data/Question/数学/第1题.html"},
        {"Question/../Knowledge/k.html", LocationKind::Local, "Question/../Knowledge/k.html",
         "/data/Question/../Knowledge/k.html"},
        {"  http://example.org/a.html ", LocationKind::Remote, "http://example.org/a.html", ""},
        {"FTP://example.org/a", LocationKind::Remote, "FTP://example.org/a", ""},
        {"../bank.qly", LocationKind::Outside, "../bank.qly", "/data/../bank.qly"},
        {"Question\\..\\..\\x.html", LocationKind::Outside, "Question\\..\\..\\x.html",
         "/data/Question/../../x.html"},
        {".", LocationKind::Outside, ".", "/data/."},
        {"", LocationKind::None, "", ""},
        {" \r\n", LocationKind::None, "", ""},
    };
    for (const Case& c : cases) {
        const PageLocation resolved = ResolveLocation("/data", c.location);
        EXPECT_EQ(resolved.kind, c.kind) << c.location;
        EXPECT_EQ(resolved.address, c.address) << c.location;
        EXPECT_EQ(resolved.path, c.path) << c.location;
    }
}

TEST(ResolveLocation, ASymbolicLinkInsideTheFolderLeadingOutOfItIsOutside) {
    testing::TempDir dir;
    testing::TempDir elsewhere;
    std::filesystem::create_directories(dir.File("Question"));
    std::filesystem::create_directory_symlink(elsewhere.Path(), dir.File("Question/out"));
    std::filesystem::create_directory_symlink(dir.File("Question"), dir.File("Same"));
    EXPECT_EQ(ResolveLocation(dir.Path(), "Question/out/x.html").kind, LocationKind::Outside);
    EXPECT_EQ(ResolveLocation(dir.Path(), "Same/x.html").kind, LocationKind::Local);
}

TEST(LocationBeside, TakesThePagesFolder) {
    EXPECT_EQ(LocationBeside("Question/数学/p.html", "r.html"), "Question/数学/r.html");
    EXPECT_EQ(LocationBeside("Question\\p.html", "../common/r.html"), "Question\\../common/r.html");
    EXPECT_EQ(LocationBeside("p.html", "r.html"), "r.html");
}

}  // namespace
}  // namespace quillory
