#include "core/analysis/history_trend_figures.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/analysis/analysis_parts.h"
#include "core/common/paper_node_list.h"
#include "core/store/tables.h"

namespace quillory {
namespace {

DateTime Day(int year, int month, int day) {
    DateTime date;
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

TEST(HistoryTrendFigures, WeeksBeginOnMonday) {
    struct Case {
        DateTime day;
        DateTime monday;
    };
    const Case cases[] = {
        {Day(1970, 1, 1), Day(1969, 12, 29)}, {Day(2026, 3, 8), Day(2026, 3, 2)},
        {Day(2026, 3, 9), Day(2026, 3, 9)},   {Day(2024, 2, 29), Day(2024, 2, 26)},
        {Day(2000, 1, 1), Day(1999, 12, 27)}, {Day(1969, 12, 28), Day(1969, 12, 22)},
        {Day(2101, 3, 1), Day(2101, 2, 28)},
    };
    for (const Case& c : cases) {
        const DateTime monday = MondayOf(WeekOf(c.day));
        EXPECT_EQ(std::vector<int>({monday.year, monday.month, monday.day}),
                  std::vector<int>({c.monday.year, c.monday.month, c.monday.day}))
            << c.day.year << "-" << c.day.month << "-" << c.day.day;
        EXPECT_EQ(WeekOf(c.monday), WeekOf(c.day));
    }
}

// Points: 地形 (300001) with 山地 (300011) below it, 气候 (300002), 人口
// (300003). Weeks are counted from the week of 2026-03-02.
TEST(HistoryTrendFigures, EachSeriesHasTheRateOfEachWeekWithAnswers) {
    const PaperNodeList knowledge = KnowledgeTree({{300001, 0, "地形", "", "", 0},
                                                   {300011, 300001, "山地", "", "", 0},
                                                   {300002, 0, "气候", "", "", 0},
                                                   {300003, 0, "人口", "", "", 0}});
    const long long first = WeekOf(Day(2026, 3, 2));
    struct Answer {
        DateTime date;
        const char* knowledge;
        float total;
        float user;
    };
    struct Week {
        long long week;  // from the first
        std::optional<double> rate;
    };
    struct Series {
        const char* name;
        std::vector<Week> weeks;
    };
    struct Case {
        const char* name;
        std::vector<Answer> answers;
        size_t weekCount;
        std::vector<Series> series;
    };
    const Case cases[] = {
        {"no dated answer", {{DateTime{}, "300001", 2, 1}}, 0, {}},
        {"a child counts for its top point, once with it",
         {{Day(2026, 3, 4), "300011", 4, 3}, {Day(2026, 3, 8), "300001,300011", 4, 1}},
         1,
         {{"全部知识点", {{0, 50.0}}}, {"地形", {{0, 50.0}}}}},
        {"short pieces and unknown points count only for all",
         {{Day(2026, 3, 4), "12,300009", 2, 1}},
         1,
         {{"全部知识点", {{0, 50.0}}}}},
        {"a week of no full marks has no rate; weeks between stay out",
         {{Day(2026, 3, 2), "300002", 0, 0},
          {Day(2026, 3, 23), "300002", 4, 1},
          {Day(2026, 3, 9), "300001", 5, 5}},
         4,
         {{"全部知识点", {{0, std::nullopt}, {1, 100.0}, {3, 25.0}}},
          {"地形", {{1, 100.0}}},
          {"气候", {{0, std::nullopt}, {3, 25.0}}}}},
        {"the first week is the earliest answer's",
         {{Day(2026, 3, 16), "300002", 1, 1}, {Day(2026, 3, 1), "300002", 3, 0}},
         4,
         {{"全部知识点", {{-1, 0.0}, {2, 100.0}}}, {"气候", {{-1, 0.0}, {2, 100.0}}}}},
    };
    for (const Case& c : cases) {
        std::vector<HistoryRow> rows;
        for (const Answer& answer : c.answers) {
            HistoryRow row;
            row.RecordDate = answer.date;
            row.KnowledgeID = answer.knowledge;
            row.TotalScore = answer.total;
            row.UserScore = answer.user;
            rows.push_back(row);
        }
        const TrendFigures figures = WeeklyRates(rows, knowledge);
        std::vector<TrendSeries> expected;
        for (const Series& series : c.series) {
            TrendSeries weeks{series.name, {}};
            for (const Week& week : series.weeks) {
                weeks.weeks.push_back({first + week.week, week.rate});
            }
            expected.push_back(weeks);
        }
        EXPECT_EQ(figures.series, expected) << c.name;
        EXPECT_EQ(figures.weekCount, c.weekCount) << c.name;
        if (!expected.empty()) {
            EXPECT_EQ(figures.firstWeek, expected[0].weeks[0].week) << c.name;
        }
    }
}

}  // namespace
}  // namespace quillory
