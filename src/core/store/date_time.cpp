#include "core/store/date_time.h"

#include <cctype>
#include <cstdio>

#include "core/common/text.h"

namespace quillory {

namespace {

bool ReadDate(std::string_view text, DateTime& value) {
    int y = 0, m = 0, d = 0, used = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &m, &d, &used) != 3 ||
        used != static_cast<int>(s.size()) || m < 1 || m > 12 || d < 1 || d > 31) {
        return false;
    }
    value.year = y;
    value.month = m;
    value.day = d;
    return true;
}

// Fractions of a second, which some tools write, are passed over.
bool ReadTime(std::string_view text, DateTime& value) {
    int h = 0, mi = 0, se = 0, used = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%2d:%2d:%2d%n", &h, &mi, &se, &used) != 3 || h < 0 || h > 23 ||
        mi < 0 || mi > 59 || se < 0 || se > 59) {
        return false;
    }
    if (used < static_cast<int>(s.size()) && s[static_cast<size_t>(used)] == '.') {
        ++used;
        while (used < static_cast<int>(s.size()) &&
               std::isdigit(static_cast<unsigned char>(s[static_cast<size_t>(used)])) != 0) {
            ++used;
        }
    }
    if (used != static_cast<int>(s.size())) {
        return false;
    }
    value.hour = h;
    value.minute = mi;
    value.second = se;
    return true;
}

}  // namespace

bool ParseDateTime(std::string_view text, DateTime& value) {
    value = DateTime{};
    const std::string trimmed = Trim(text);
    // Date and time apart by a blank, or by a "T" as some tools write them.
    size_t blank = trimmed.find(' ');
    if (blank == std::string::npos && trimmed.size() > 10 && trimmed[10] == 'T') {
        blank = 10;
    }
    bool ok = false;
    if (blank != std::string::npos) {
        ok = ReadDate(std::string_view(trimmed).substr(0, blank), value) &&
             ReadTime(Trim(std::string_view(trimmed).substr(blank + 1)), value);
    } else if (trimmed.find(':') != std::string::npos) {
        ok = ReadTime(trimmed, value);
    } else {
        ok = ReadDate(trimmed, value);
    }
    if (!ok) {
        value = DateTime{};
    }
    return ok;
}

long long DaysSinceEpoch(const DateTime& value) {
    // Counted from 1 March, so the leap day ends its year.
    const long long year = value.year - (value.month <= 2 ? 1 : 0);
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long month = value.month > 2 ? value.month - 3 : value.month + 9;
    const long long dayOfYear = (153 * month + 2) / 5 + value.day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

long long SecondsSinceEpoch(const DateTime& value) {
    return DaysSinceEpoch(value) * 86400 + value.hour * 3600 + value.minute * 60 + value.second;
}

std::string FormatDate(const DateTime& value) {
    return Format("%04d-%02d-%02d", value.year, value.month, value.day);
}

std::string FormatTime(const DateTime& value) {
    return Format("%02d:%02d:%02d", value.hour, value.minute, value.second);
}

DateTime LocalDateTime(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

DateTime LocalNow() {
    return LocalDateTime(std::time(nullptr));
}

}  // namespace quillory
