// The figures of the summary's progress chart: the score rate of each week,
// over all answers and for each top-level knowledge point.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/store/date_time.h"

namespace quillory {

class PaperNodeList;
struct HistoryRow;

// Weeks are numbered from the one that begins on Monday 1969-12-29.
long long WeekOf(const DateTime& date);
DateTime MondayOf(long long week);

struct TrendWeek {
    long long week = 0;
    std::optional<double> rate;  // percent; none when the week's full marks are 0

    bool operator==(const TrendWeek&) const = default;
};

struct TrendSeries {
    std::string name;
    std::vector<TrendWeek> weeks;  // ascending; only weeks with answers

    bool operator==(const TrendSeries&) const = default;
};

struct TrendFigures {
    long long firstWeek = 0;
    size_t weekCount = 0;  // from the first week to the last with an answer
    // "全部知识点" first, then each top-level point with answers, in tree
    // order; empty when no row has a date.
    std::vector<TrendSeries> series;
};

// knowledge is in tree order. A row counts for a top-level point when one of
// its knowledge IDs lies under it, once however many do.
TrendFigures WeeklyRates(const std::vector<HistoryRow>& rows, const PaperNodeList& knowledge);

}  // namespace quillory
