#include "core/store/date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace quillory {
namespace {

// Ages are differences of these, so leap days and the years before 1970
// must count right.
TEST(DateTime, DaysAndSecondsCountFromTheFirstOf1970) {
    struct Case {
        const char* text;
        long long days;
        long long seconds;
    };
    const Case cases[] = {
        {"1970-01-01 00:00:00", 0, 0},
        {"1969-12-31 23:59:59", -1, -1},
        {"2000-03-01 00:00:01", 11017, 11017LL * 86400 + 1},
        {"2024-02-29 12:00:00", 19782, 19782LL * 86400 + 43200},
        {"2026-03-01", 20513, 20513LL * 86400},
    };
    for (const Case& c : cases) {
        DateTime value;
        ASSERT_TRUE(ParseDateTime(c.text, value)) << c.text;
        EXPECT_EQ(DaysSinceEpoch(value), c.days) << c.text;
        EXPECT_EQ(SecondsSinceEpoch(value), c.seconds) << c.text;
    }
}

// A zone of a fixed offset, so the local time is the moment plus the offset.
TEST(DateTime, LocalDateTimeAddsTheZonesOffset) {
    const char* const previous = std::getenv("TZ");
    const std::optional<std::string> saved =
        previous ? std::optional<std::string>(previous) : std::nullopt;
    setenv("TZ", "CST-8", 1);
    tzset();
    for (const char* text : {"1970-01-01 08:00:00", "2024-02-29 23:59:59", "2024-03-01 07:59:59",
                             "2026-03-14 09:26:53"}) {
        DateTime expected;
        ASSERT_TRUE(ParseDateTime(text, expected)) << text;
        const auto moment = static_cast<std::time_t>(SecondsSinceEpoch(expected) - 8 * 3600);
        EXPECT_EQ(LocalDateTime(moment), expected) << text;
    }
    if (saved) {
        setenv("TZ", saved->c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace quillory
