#include "core/analysis/history_trend_chart.h"

#include <algorithm>

#include "core/analysis/history_trend_figures.h"
#include "core/common/text.h"
#include "core/pages/html_writer.h"

namespace quillory {

namespace {

constexpr int kWidth = 800;
constexpr int kLeft = 60;
constexpr int kPlotWidth = 720;
constexpr int kTop = 40;
constexpr int kPlotHeight = 220;
constexpr int kLegendColumns = 4;
constexpr int kLegendItemWidth = 180;
constexpr int kLegendRowHeight = 18;
// Beyond a year of weeks the dots would hide the lines.
constexpr size_t kMostDottedWeeks = 52;
constexpr size_t kMostLabels = 12;
constexpr const char* kColours[] = {"#d62728", "#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd",
                                    "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf"};

std::string Number(double value) {
    return Format("%.1f", value);
}

}  // namespace

std::string HistoryTrendChart(const std::vector<HistoryRow>& rows, const PaperNodeList& knowledge) {
    const TrendFigures figures = WeeklyRates(rows, knowledge);
    if (figures.series.empty()) {
        return {};
    }
    const std::vector<TrendSeries>& series = figures.series;
    const long long firstWeek = figures.firstWeek;
    const size_t weekCount = figures.weekCount;
    const auto x = [&](long long week) {
        return weekCount == 1 ? kLeft + kPlotWidth / 2.0
                              : kLeft + kPlotWidth * static_cast<double>(week - firstWeek) /
                                            static_cast<double>(weekCount - 1);
    };
    const auto y = [](double rate) {
        return kTop + kPlotHeight * (1.0 - std::clamp(rate, 0.0, 100.0) / 100.0);
    };
    const int bottom = kTop + kPlotHeight;
    const int legendTop = bottom + 66;
    const int legendRows = static_cast<int>((series.size() + kLegendColumns - 1) / kLegendColumns);
    const int height = legendTop + legendRows * kLegendRowHeight + 8;

    std::string svg = Format(
        "<div class=\"trend\">\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" "
        "height=\"%d\" viewBox=\"0 0 %d %d\" font-family=\"宋体, sans-serif\" font-size=\"12\" "
        "style=\"display:block;margin:16px auto\">\n",
        kWidth, height, kWidth, height);
    svg += Format(
        "<text x=\"%d\" y=\"22\" text-anchor=\"middle\" font-size=\"14\" "
        "font-weight=\"bold\">每周得分率</text>\n",
        kWidth / 2);
    for (int rate = 0; rate <= 100; rate += 20) {
        const std::string at = Number(y(rate));
        svg += "<line x1=\"" + std::to_string(kLeft) + "\" y1=\"" + at + "\" x2=\"" +
               std::to_string(kLeft + kPlotWidth) + "\" y2=\"" + at +
               "\" stroke=\"#dddddd\"/>\n<text x=\"" + std::to_string(kLeft - 6) + "\" y=\"" +
               Number(y(rate) + 4) + "\" text-anchor=\"end\">" + std::to_string(rate) +
               "%</text>\n";
    }
    svg += Format(
        "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#000000\"/>\n"
        "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#000000\"/>\n",
        kLeft, kTop, kLeft, bottom, kLeft, bottom, kLeft + kPlotWidth, bottom);
    svg += Format(
        "<text x=\"16\" y=\"%d\" text-anchor=\"middle\" transform=\"rotate(-90 16 %d)\">"
        "得分率</text>\n",
        kTop + kPlotHeight / 2, kTop + kPlotHeight / 2);
    svg += Format("<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">周（自周一起）</text>\n",
                  kLeft + kPlotWidth / 2, bottom + 50);
    const size_t labelEvery = (weekCount + kMostLabels - 1) / kMostLabels;
    int labelledYear = 0;
    for (size_t i = 0; i < weekCount; i += labelEvery) {
        const long long week = firstWeek + static_cast<long long>(i);
        const DateTime monday = MondayOf(week);
        const std::string at = Number(x(week));
        svg += "<line x1=\"" + at + "\" y1=\"" + std::to_string(bottom) + "\" x2=\"" + at +
               "\" y2=\"" + std::to_string(bottom + 4) + "\" stroke=\"#000000\"/>\n";
        svg += "<text x=\"" + at + "\" y=\"" + std::to_string(bottom + 16) +
               "\" text-anchor=\"middle\">" + Format("%d月%d日", monday.month, monday.day) +
               "</text>\n";
        if (monday.year != labelledYear) {
            labelledYear = monday.year;
            svg += "<text x=\"" + at + "\" y=\"" + std::to_string(bottom + 30) +
                   "\" text-anchor=\"middle\">" + Format("%d年", monday.year) + "</text>\n";
        }
    }

    for (size_t s = 0; s < series.size(); ++s) {
        const char* colour = kColours[s % std::size(kColours)];
        const char* lineWidth = s == 0 ? "2.5" : "1.5";
        std::string points;
        long long previous = 0;
        const auto endLine = [&] {
            if (points.find(' ') != std::string::npos) {
                svg += "<polyline fill=\"none\" stroke=\"" + std::string(colour) +
                       "\" stroke-width=\"" + lineWidth + "\" points=\"" + points + "\"/>\n";
            }
            points.clear();
        };
        for (const auto& [week, weekRate] : series[s].weeks) {
            if (!weekRate) {
                endLine();
                continue;
            }
            if (!points.empty() && week != previous + 1) {
                endLine();
            }
            previous = week;
            const double rate = *weekRate;
            const std::string at = Number(x(week)) + "," + Number(y(rate));
            points += (points.empty() ? "" : " ") + at;
            if (weekCount <= kMostDottedWeeks) {
                const DateTime monday = MondayOf(week);
                svg += "<circle cx=\"" + Number(x(week)) + "\" cy=\"" + Number(y(rate)) +
                       "\" r=\"3\" fill=\"" + colour + "\"><title>" +
                       Format("%d年%d月%d日起一周 ", monday.year, monday.month, monday.day) +
                       HtmlText(series[s].name) + " " + Format("%.1f%%", rate) +
                       "</title></circle>\n";
            }
        }
        endLine();
        const int legendX = kLeft + static_cast<int>(s % kLegendColumns) * kLegendItemWidth;
        const int legendY = legendTop + static_cast<int>(s / kLegendColumns) * kLegendRowHeight;
        svg += Format(
            "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"%s\" stroke-width=\"%s\"/>\n",
            legendX, legendY - 4, legendX + 20, legendY - 4, colour, lineWidth);
        svg += Format("<text x=\"%d\" y=\"%d\">", legendX + 26, legendY) +
               HtmlText(series[s].name) + "</text>\n";
    }
    return svg + "</svg>\n</div>\n";
}

}  // namespace quillory
