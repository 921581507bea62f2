// A local date and time as the History table keeps it: RecordDate as
// "YYYY-MM-DD" and RecordTime as "HH:MM:SS".
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace quillory {

struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;
};

// Reads "YYYY-MM-DD", "HH:MM:SS" or "YYYY-MM-DD HH:MM:SS" (also with a "T"
// between, and a fraction of a second); the parts that are not there stay 0. Returns false (and a
// zero value) for any other text.
bool ParseDateTime(std::string_view text, DateTime& value);

std::string FormatDate(const DateTime& value);  // "%Y-%m-%d"
// Days from 1970-01-01 to the date (the time is not looked at), on the
// Gregorian calendar without time zones, so differences are exact ages.
long long DaysSinceEpoch(const DateTime& value);
// The same in seconds, with the time of day.
long long SecondsSinceEpoch(const DateTime& value);
std::string FormatTime(const DateTime& value);  // "%H:%M:%S"

// A moment of the system clock as a local date and time (the time zone's
// offset applied), and the present moment so.
DateTime LocalDateTime(std::time_t moment);
DateTime LocalNow();

}  // namespace quillory
