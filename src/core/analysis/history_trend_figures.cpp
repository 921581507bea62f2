#include "core/analysis/history_trend_figures.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "core/analysis/analysis_parts.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/store/tables.h"

namespace quillory {

namespace {

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

struct Totals {
    double fullMarks = 0.0;
    double score = 0.0;
};

}  // namespace

// 1970-01-01 was a Thursday.
long long WeekOf(const DateTime& date) {
    return FloorDiv(DaysSinceEpoch(date) + 3, 7);
}

DateTime MondayOf(long long week) {
    // Civil date of a day number (the inverse of DaysSinceEpoch).
    const long long days = week * 7 - 3 + 719468;
    const long long era = FloorDiv(days, 146097);
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long month = (5 * dayOfYear + 2) / 153;
    DateTime date;
    date.day = static_cast<int>(dayOfYear - (153 * month + 2) / 5 + 1);
    date.month = static_cast<int>(month < 10 ? month + 3 : month - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

TrendFigures WeeklyRates(const std::vector<HistoryRow>& rows, const PaperNodeList& knowledge) {
    std::vector<std::string> names{"全部知识点"};
    std::unordered_map<int, size_t> seriesOfPoint;  // any point -> its top-level point's series
    for (const PaperNode& node : knowledge.Nodes()) {
        if (knowledge.Depth(node.id) == 1) {
            seriesOfPoint.emplace(node.id, names.size());
            names.push_back(node.title);
        } else if (const auto parent = seriesOfPoint.find(node.superiorId);
                   parent != seriesOfPoint.end()) {
            seriesOfPoint.emplace(node.id, parent->second);
        }
    }
    std::vector<std::map<long long, Totals>> weeks(names.size());
    std::vector<size_t> counted;
    for (const HistoryRow& row : rows) {
        if (row.RecordDate.year == 0) {
            continue;
        }
        const long long week = WeekOf(row.RecordDate);
        counted.assign(1, 0);
        for (const std::string& piece : SplitString(row.KnowledgeID, ",")) {
            const std::optional<int> id = KnowledgeIdOf(piece);
            const auto found = id ? seriesOfPoint.find(*id) : seriesOfPoint.end();
            if (found != seriesOfPoint.end() &&
                std::find(counted.begin(), counted.end(), found->second) == counted.end()) {
                counted.push_back(found->second);
            }
        }
        for (const size_t index : counted) {
            Totals& totals = weeks[index][week];
            totals.fullMarks += row.TotalScore;
            totals.score += row.UserScore;
        }
    }
    TrendFigures figures;
    if (weeks[0].empty()) {
        return figures;
    }
    figures.firstWeek = weeks[0].begin()->first;
    figures.weekCount = static_cast<size_t>(weeks[0].rbegin()->first - figures.firstWeek) + 1;
    for (size_t s = 0; s < names.size(); ++s) {
        if (weeks[s].empty()) {
            continue;
        }
        TrendSeries series{names[s], {}};
        for (const auto& [week, totals] : weeks[s]) {
            series.weeks.push_back(
                {week, totals.fullMarks <= 0.0
                           ? std::nullopt
                           : std::optional<double>(100.0 * totals.score / totals.fullMarks)});
        }
        figures.series.push_back(std::move(series));
    }
    return figures;
}

}  // namespace quillory
