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

TEST(FormatRate, PrintsThePercentageOfTheFullMarksAndADashForNone) {
    struct Case {
        float score;
        float fullMarks;
        const char* printed;
    };
    const Case cases[] = {
        {3.0f, 4.0f, "75.0%"},
        {1.0f, 3.0f, "33.3%"},
        {2.0f, 3.0f, "66.7%"},
        {0.0f, 5.0f, "0.0%"},
        {5.0f, 5.0f, "100.0%"},
        // Zero full marks: no division.
        {0.0f, 0.0f, "-"},
        {3.0f, 0.0f, "-"},
        {3.0f, -0.0f, "-"},
        // Negative full marks (a bank made elsewhere) divide like any other.
        {3.0f, -4.0f, "-75.0%"},
        {-3.0f, -4.0f, "75.0%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatRate(c.score, c.fullMarks), c.printed) << c.score << " of " << c.fullMarks;
    }
}

}  // namespace
}  // namespace quillory
