#include <gtest/gtest.h>

#include "core/bank/bank_pages.h"
#include "core/bank/utf8_check.h"
#include "core/common/gb_encoding.h"

namespace quillory {
namespace {

constexpr char kMeta[] = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";

TEST(GbPageFromUtf8, RewritesADeclaredUtf8CharsetAndConvertsTheText) {
    const std::string page = GbPageFromUtf8(
        "<html><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; Charset=UTF-8\">"
        "</HEAD><body>长江</body></html>");
    EXPECT_EQ(page,
              Utf8ToGb("<html><HEAD><META HTTP-EQUIV=\"Content-Type\" "
                       "CONTENT=\"text/html; Charset=gb2312\"></HEAD><body>长江</body></html>"));
    EXPECT_EQ(GbToUtf8(page).find("UTF-8"), std::string::npos);
}

TEST(GbPageFromUtf8, RewritesTheShortCharsetFormToo) {
    EXPECT_EQ(GbPageFromUtf8("<head><meta charset=\"utf-8\"><title>题</title></head>"),
              Utf8ToGb("<head><meta charset=\"gb2312\"><title>题</title></head>"));
    EXPECT_EQ(GbPageFromUtf8("<head><meta charset=utf-8 /></head>"),
              "<head><meta charset=gb2312 /></head>");
}

TEST(GbPageFromUtf8, LeavesCharsetTextOutsideMetaTagsAlone) {
    const std::string html = "<head><title>t</title></head><body>charset=utf-8</body>";
    const std::string page = GbPageFromUtf8(html);
    EXPECT_NE(page.find("<body>charset=utf-8</body>"), std::string::npos);
    EXPECT_EQ(page.find(kMeta), 6u);
}

TEST(GbPageFromUtf8, InsertsADeclarationAfterTheHeadTagOrAtTheStart) {
    EXPECT_EQ(GbPageFromUtf8("<html><head lang=\"zh\"><title>t</title></head></html>"),
              std::string("<html><head lang=\"zh\">") + kMeta + "<title>t</title></head></html>");
    EXPECT_EQ(GbPageFromUtf8("<html><header>h</header><Head>x</Head></html>"),
              std::string("<html><header>h</header><Head>") + kMeta + "x</Head></html>");
    EXPECT_EQ(GbPageFromUtf8("<p>题</p>"), std::string(kMeta) + Utf8ToGb("<p>题</p>"));
    EXPECT_EQ(GbPageFromUtf8(""), kMeta);
}

TEST(IsHtmlPageName, TakesHtmAndHtmlInAnyCase) {
    EXPECT_TRUE(IsHtmlPageName("a.html"));
    EXPECT_TRUE(IsHtmlPageName("A.HTM"));
    EXPECT_FALSE(IsHtmlPageName("a.css"));
    EXPECT_FALSE(IsHtmlPageName("html"));
}

TEST(IsValidUtf8, AcceptsWellFormedTextAndRejectsEachKindOfDamage) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("ascii 长江 €  \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\x80"));              // stray continuation byte
    EXPECT_FALSE(IsValidUtf8("\xE9\x95"));          // cut off
    EXPECT_FALSE(IsValidUtf8("\xE9\x95x"));         // cut off before ASCII
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xB3\xA4\xBD\xAD"));  // GB18030 长江
}

}  // namespace
}  // namespace quillory
