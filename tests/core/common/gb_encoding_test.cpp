#include <gtest/gtest.h>

#include "core/common/gb_encoding.h"

namespace quillory {
namespace {

TEST(GbEncoding, WritesTheGb2312CodesOfChineseText) {
    EXPECT_EQ(Utf8ToGb("数学"), "\xCA\xFD\xD1\xA7");
    EXPECT_EQ(Utf8ToGb("第1题"),
              "\xB5\xDA"
              "1\xCC\xE2");
    EXPECT_EQ(Utf8ToGb("plain <b>ascii</b>"), "plain <b>ascii</b>");
}

TEST(GbEncoding, ChineseTextSurvivesARoundTrip) {
    const std::string text = "第1套 数学（上）：选择题，共10题。“穹岚”";
    const std::string gb = Utf8ToGb(text);
    EXPECT_NE(gb, text);
    EXPECT_EQ(GbToUtf8(gb), text);
}

TEST(GbEncoding, ReplacesInvalidBytesAndGoesOn) {
    EXPECT_EQ(GbToUtf8("a\xFF"
                       "b"),
              "a\uFFFD"
              "b");
    // A lead byte cut off by the end of the text.
    EXPECT_EQ(GbToUtf8("\xCA\xFD\xD1"), "数\uFFFD");
    EXPECT_EQ(Utf8ToGb("a\xC3(b"), "a?(b");
    EXPECT_EQ(Utf8ToGb("数\xE5\xAD"), "\xCA\xFD??");
    // A sequence cut off by markup, with text on both sides.
    EXPECT_EQ(Utf8ToGb("学\xE5\xAD<b>数</b>"),
              "\xD1\xA7??"
              "<b>\xCA\xFD</b>");
}

TEST(CompareGb, OrdersByGb2312CodesWhereUnicodeOrdersOtherwise) {
    // 国 B9FA before 中 D6D0, though U+56FD comes after U+4E2D.
    EXPECT_LT(CompareGb("国", "中"), 0);
    // 啊 B0A1 is the first character of GB2312; 一 (D2BB) is U+4E00.
    EXPECT_LT(CompareGb("啊", "一"), 0);
    // The last rows of level 1 (座 D7F9) come before level 2 (丐 D8A4).
    EXPECT_LT(CompareGb("座", "丐"), 0);
    // 数 CAFD before 语 D3EF.
    EXPECT_LT(CompareGb("数学", "语文"), 0);
    EXPECT_GT(CompareGb("语文", "数学"), 0);
}

TEST(CompareGb, ComparesBytesSoAsciiAndPrefixesComeFirst) {
    EXPECT_EQ(CompareGb("数学", "数学"), 0);
    EXPECT_LT(CompareGb("数", "数学"), 0);
    EXPECT_LT(CompareGb("Z", "啊"), 0);
    EXPECT_LT(CompareGb("第10套", "第2套"), 0);
    EXPECT_LT(CompareGb("B", "a"), 0);
    EXPECT_LT(GbSortKey("国"), GbSortKey("中"));
}

}  // namespace
}  // namespace quillory
