#include <gtest/gtest.h>

#include <climits>

#include "core/common/text.h"

namespace quillory {
namespace {

using Pieces = std::vector<std::string>;

TEST(Trim, RemovesAsciiWhiteSpaceAtBothEndsOnly) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim(" \t\v\f "), "");
    EXPECT_EQ(Trim(""), "");
    // The ideographic space is a character of the title, not white space.
    EXPECT_EQ(Trim("\u3000第1题\u3000"), "\u3000第1题\u3000");
}

TEST(SplitString, KeepsEveryEmptyPieceIncludingATrailingOne) {
    EXPECT_EQ(SplitString("100001,100002", ","), (Pieces{"100001", "100002"}));
    EXPECT_EQ(SplitString("100001,", ","), (Pieces{"100001", ""}));
    EXPECT_EQ(SplitString("1,,2", ","), (Pieces{"1", "", "2"}));
    EXPECT_EQ(SplitString(",", ","), (Pieces{"", ""}));
    EXPECT_EQ(SplitString("", ","), (Pieces{""}));
}

TEST(SplitString, LeavesPiecesUntrimmedAndSplitsAtLongSeparatorsLeftToRight) {
    EXPECT_EQ(SplitString(" 1 , 2", ","), (Pieces{" 1 ", " 2"}));
    EXPECT_EQ(SplitString("a::b:::c", "::"), (Pieces{"a", "b", ":c"}));
    EXPECT_EQ(SplitString("数学，语文", "，"), (Pieces{"数学", "语文"}));
}

TEST(AtoI, ReadsBlanksSignAndDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(AtoI("550001"), 550001);
    EXPECT_EQ(AtoI("  42abc"), 42);
    EXPECT_EQ(AtoI("\t-0012 "), -12);
    EXPECT_EQ(AtoI("+7"), 7);
    EXPECT_EQ(AtoI("5.9"), 5);
    EXPECT_EQ(AtoI("12 34"), 12);
    EXPECT_EQ(AtoI("12第1题"), 12);
}

TEST(AtoI, ReadsZeroFromEmptyOrNonNumericText) {
    EXPECT_EQ(AtoI(""), 0);
    EXPECT_EQ(AtoI("   "), 0);
    EXPECT_EQ(AtoI("abc"), 0);
    EXPECT_EQ(AtoI("-"), 0);
    EXPECT_EQ(AtoI("- 5"), 0);
    EXPECT_EQ(AtoI("第1题"), 0);
}

TEST(AtoI, SaturatesInsteadOfWrappingWhenTheNumberIsTooLarge) {
    EXPECT_EQ(AtoI("2147483647"), INT_MAX);
    EXPECT_EQ(AtoI("-2147483648"), INT_MIN);
    EXPECT_EQ(AtoI("2147483648"), INT_MAX);
    EXPECT_EQ(AtoI("99999999999999999999"), INT_MAX);
    EXPECT_EQ(AtoI("-99999999999999999999"), INT_MIN);
    // Leading zeros do not count towards the limit.
    EXPECT_EQ(AtoI("0000000000000000000000123"), 123);
}

TEST(ReplaceAll, NeverRescansTheTextItHasJustPutIn) {
    std::string text = "a-a";
    ReplaceAll(text, "a", "aa");
    EXPECT_EQ(text, "aa-aa");
    std::string page = "[试题][试题]";
    EXPECT_TRUE(ReplaceFirst(page, "[试题]", "第1题"));
    EXPECT_EQ(page, "第1题[试题]");
}

}  // namespace
}  // namespace quillory
