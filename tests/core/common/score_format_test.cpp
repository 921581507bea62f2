#include <gtest/gtest.h>

#include "core/common/score_format.h"

namespace quillory {
namespace {

TEST(FormatScore, PrintsOneDecimal) {
    EXPECT_EQ(FormatScore(0.0f), "0.0");
    EXPECT_EQ(FormatScore(12.5f), "12.5");
    EXPECT_EQ(FormatScore(2.0f / 3.0f), "0.7");
    EXPECT_EQ(FormatScore(150.0f), "150.0");
}

TEST(FormatRate, PrintsThePercentageOfTheFullMarks) {
    EXPECT_EQ(FormatRate(3.0f, 4.0f), "75.0%");
    EXPECT_EQ(FormatRate(1.0f, 3.0f), "33.3%");
    EXPECT_EQ(FormatRate(2.0f, 3.0f), "66.7%");
    EXPECT_EQ(FormatRate(0.0f, 5.0f), "0.0%");
    EXPECT_EQ(FormatRate(5.0f, 5.0f), "100.0%");
}

TEST(FormatRate, PrintsADashInsteadOfDividingByZeroFullMarks) {
    EXPECT_EQ(FormatRate(0.0f, 0.0f), "-");
    EXPECT_EQ(FormatRate(3.0f, 0.0f), "-");
    EXPECT_EQ(FormatRate(3.0f, -0.0f), "-");
}

}  // namespace
}  // namespace quillory
