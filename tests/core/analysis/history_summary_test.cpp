#include "core/analysis/history_summary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/host/setting_names.h"
#include "core/store/data_store.h"
#include "support/memory_settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::MemorySettings;
using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFileBytes;

DateTime At(const char* text) {
    DateTime value;
    EXPECT_TRUE(ParseDateTime(text, value)) << text;
    return value;
}

std::string History(int id, const char* date, const char* knowledge, const char* total,
                    const char* user) {
    return Format(
        "insert into History(ID, RecordDate, RecordTime, PaperID, PaperTitle, PaperItemTitle, "
        "QuestionID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) values(%d, '%s', "
        "'09:00:00', 100001, '第1套', '第%d题', 200001, '%s', 'Question/1.html', "
        "'Question/1a.html', %s, %s)",
        id, date, id % 100, knowledge, total, user);
}

std::string ValueCell(const std::string& value) {
    return "<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\">" + value +
           "</p>\n</td>\n";
}

// The page without its chart, and the chart.
std::pair<std::string, std::string> SplitChart(std::string page) {
    const size_t start = page.find("<div class=\"trend\">");
    if (start == std::string::npos) {
        return {page, ""};
    }
    const size_t end = page.find("</div>\n", start) + 7;
    const std::string chart = page.substr(start, end - start);
    return {page.erase(start, end - start), chart};
}

class HistorySummary : public ::testing::Test {
protected:
    void SetUp() override {
        store_ = testing::MakeDataFile(dir_.File("bank.qly"));
        std::filesystem::create_directories(dir_.File("Knowledge"));
        Run(
            {"insert into Knowledge(ID, SuperiorID, Title, Url, Weight) "
             "values(12, 0, '地形', 'Knowledge/a.html', 4)",
             "insert into Knowledge(ID, SuperiorID, Title) values(99, 12, '水文')"});
    }
    void Run(const std::vector<std::string>& statements) {
        for (const std::string& sql : statements) {
            ASSERT_TRUE(store_->Execute(sql)) << sql << ": " << store_->LastError();
        }
    }
    std::optional<std::string> Show(const char* now, Settings* settings = nullptr) {
        PageContext context{*store_, dir_.Path(), host_};
        return ShowHistorySummary(context, settings, At(now), {});
    }
    std::string Page() { return GbToUtf8(ReadFileBytes(HistorySummaryPath(dir_.Path()))); }
    // The three rates and the wrong-question cell of point 12.
    std::string RowOf12() {
        const std::string page = Page();
        const size_t at = page.find(ValueCell("4"));
        return at == std::string::npos ? "" : page.substr(at, page.find("</tr>", at) - at);
    }

    TempDir dir_;
    std::unique_ptr<DataStore> store_;
    RecordingHost host_;
};

TEST_F(HistorySummary, ThePageListsRatesAndWrongQuestionsThenTheChart) {
    Run({History(700001, "2026-03-14", "000120", "2", "1"),
         History(700002, "2026-03-01", "12", "3", "3"),
         History(700003, "2026-03-01", "300001", "3", "0")});
    const auto path = Show("2026-03-14 10:00:00");
    ASSERT_EQ(path, dir_.File("Knowledge/UserTotal.html"));
    EXPECT_EQ(host_.navigations, std::vector<std::string>{*path});
    EXPECT_EQ(host_.generatedFiles, std::vector<std::string>{*path});

    const auto header = [](const char* width, const char* span, const char* caption) {
        return Format(
            "<td width=\"%s\" %salign=\"center\" valign=\"center\">\n<p align=\"center\"><b>%s"
            "</b></p>\n</td>\n",
            width, span, caption);
    };
    const std::string row =
        "<tr>\n<td width=\"300\" align=\"left\" valign=\"top\">\n<table border=\"0\" "
        "cellpadding=\"0\" cellspacing=\"0\" style=\"border-collapse: collapse\">\n<tr>\n";
    const std::string label = "第1套-第1题(2026-03-14)";
    const std::string expected =
        "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
        "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">\n<title>用户历史分析</title>\n"
        "<style type=text/css>\ntd, p, li, input, select {font-size:12px;}\n</style>\n</head>\n"
        "<body background=\"common/image/bk_knowledge.gif\" bgcolor=\"#FFFFFF\" text=\"#000000\" "
        "link=\"#0000ff\" vlink=\"#000099\" alink=\"#ff0000\">\n<font face=\"宋体\">\n"
        "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>历史分析--汇总</b></font></p>\n"
        "<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" width=\"800\" id=\"AutoNumber1\" "
        "align=\"center\">\n<tr bgcolor=\"#00FFFF\">\n" +
        header("300", "rowspan=\"2\" ", "知 识 点") + header("50", "rowspan=\"2\" ", "权 重") +
        header("150", "colspan=\"3\" ", "得 分 率") + header("300", "rowspan=\"2\" ", "错 题") +
        "</tr>\n<tr bgcolor=\"#00FFFF\">\n" + header("50", "", "总 计") +
        header("50", "", "三十天") + header("50", "", "七 天") + "</tr>\n" + row +
        "<td>\n<a href=\"Quillory://Knowledge:12\">地形</a><br>\n</td>\n</tr>\n</table>\n</td>\n" +
        ValueCell("4") + ValueCell("80.0%") + ValueCell("80.0%") + ValueCell("50.0%") +
        "<td width=\"300\" align=\"center\" valign=\"top\">\n<p align=\"center\"><a "
        "href=\"Quillory://Question:200001" +
        label + "\">" + label + "</a><a href=\"Quillory://Answer:200001" + label +
        "答案\">答案</a><br></p>\n</td>\n</tr>\n" + row +
        "<td>&nbsp;&nbsp;&nbsp;</td>\n<td>\n水文<br></td>\n</tr>\n</table>\n</td>\n" +
        ValueCell("0") + ValueCell("-") + ValueCell("-") + ValueCell("-") +
        "<td width=\"300\" align=\"center\" valign=\"top\">\n<p align=\"center\">-</p>\n</td>\n"
        "</tr>\n</table>\n</font>\n</body>\n</html>\n";
    const auto [table, chart] = SplitChart(Page());
    EXPECT_EQ(table, expected);
    // The chart follows the table, with its weeks, series and axes in Chinese.
    EXPECT_NE(Page().find("</table>\n<div class=\"trend\">"), std::string::npos);
    for (const char* text : {"<svg", "每周得分率", "得分率</text>", "全部知识点", "2月23日",
                             "3月9日", "2026年", "100%"}) {
        EXPECT_NE(chart.find(text), std::string::npos) << text;
    }
    // Pieces that name no point of six digits or more draw no point's line.
    EXPECT_EQ(chart.find("地形"), std::string::npos);

    // A point's line is its top-level point's.
    Run({"delete from History", History(700004, "2026-03-02", "000099", "2", "1")});
    ASSERT_TRUE(Show("2026-03-14 10:00:00"));
    EXPECT_NE(SplitChart(Page()).second.find("地形</text>"), std::string::npos);
    EXPECT_EQ(SplitChart(Page()).second.find("水文"), std::string::npos);

    // No history, no chart.
    Run({"delete from History"});
    ASSERT_TRUE(Show("2026-03-14 10:00:00"));
    EXPECT_EQ(Page().find("trend"), std::string::npos);
    EXPECT_NE(Page().find("</table>\n</font>\n</body>\n</html>\n"), std::string::npos);
}

// One row for point 12 (full marks 2 unless given), the rates and whether it
// is listed as wrong.
TEST_F(HistorySummary, RowsCountByAgeAndSubstringAndOnlyLostPointsAreWrong) {
    struct Case {
        const char* name;
        const char* now;
        const char* date;
        const char* knowledge;
        const char* user;
        const char* rates;  // all, 30 days, 7 days
        bool wrong;
        const char* total = "2";
    };
    const Case cases[] = {
        {"30 days and some hours: all only", "2026-03-31 08:00:00", "2026-03-01", "12", "1",
         "50.0% - -", true},
        {"30 days at midnight", "2026-03-31 00:00:00", "2026-03-01", "12", "1", "50.0% 50.0% -",
         true},
        {"29 days", "2026-03-31 23:59:59", "2026-03-02", "12", "1", "50.0% 50.0% -", true},
        {"7 days and a second", "2026-03-31 00:00:01", "2026-03-24", "12", "1", "50.0% 50.0% -",
         true},
        {"7 days at midnight", "2026-03-31 00:00:00", "2026-03-24", "12", "1", "50.0% 50.0% 50.0%",
         true},
        {"inside a longer ID", "2026-03-31 08:00:00", "2026-03-30", "000120", "0", "0.0% 0.0% 0.0%",
         true},
        {"inside another", "2026-03-31 08:00:00", "2026-03-30", "001234", "0", "0.0% 0.0% 0.0%",
         true},
        {"full marks", "2026-03-31 08:00:00", "2026-03-30", "12", "2", "100.0% 100.0% 100.0%",
         false},
        {"more than full marks", "2026-03-31 08:00:00", "2026-03-30", "12", "3",
         "150.0% 150.0% 150.0%", false},
        {"another point", "2026-03-31 08:00:00", "2026-03-30", "000013", "0", "- - -", false},
        // The history tree prints a negative rate here; the summary none.
        {"negative full marks", "2026-03-31 08:00:00", "2026-03-30", "12", "1", "- - -", false,
         "-2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run({"delete from History", History(700001, c.date, c.knowledge, c.total, c.user)});
        ASSERT_TRUE(Show(c.now));
        const std::string row = RowOf12();
        std::string cells;
        for (const std::string& rate : SplitString(c.rates, " ")) {
            cells += ValueCell(rate);
        }
        EXPECT_EQ(row.find(cells), ValueCell("4").size()) << row;
        EXPECT_EQ(row.find("Quillory://Question:") != std::string::npos, c.wrong) << row;
    }
}

// The page is shown again only while the history is unchanged, the file is
// there and it was built on the same day.
TEST_F(HistorySummary, ThePageIsReusedOnlyWhileUnchangedAndBuiltTheSameDay) {
    struct Case {
        const char* name;
        int modified;  // -1: not set
        int builtDay;  // 0: not set
        bool file;
        bool reused;
    };
    const Case cases[] = {
        {"unchanged, same day", 0, 20260314, true, true},
        {"never built", -1, 0, true, false},
        {"history changed", 1, 20260314, true, false},
        {"the file is gone", 0, 20260314, false, false},
        {"built the day before", 0, 20260313, true, false},
        {"no build day known", 0, 0, true, false},
    };
    const std::string path = HistorySummaryPath(dir_.Path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettings settings;
        if (c.modified >= 0) {
            settings.WriteInt(setting::kSection, setting::kHistoryModified, c.modified);
        }
        if (c.builtDay != 0) {
            settings.WriteInt(setting::kSection, setting::kHistoryBuilt, c.builtDay);
        }
        std::filesystem::remove(path);
        if (c.file) {
            WriteFileBytes(path, "earlier");
        }
        host_ = {};
        ASSERT_EQ(Show("2026-03-14 23:00:00", &settings), path);
        EXPECT_EQ(host_.navigations, std::vector<std::string>{path});
        EXPECT_EQ(ReadFileBytes(path) == "earlier", c.reused);
        EXPECT_EQ(host_.generatedFiles.empty(), c.reused);
        EXPECT_EQ(settings.ReadInt(setting::kSection, setting::kHistoryModified, 1), 0);
        EXPECT_EQ(settings.ReadInt(setting::kSection, setting::kHistoryBuilt, 0),
                  c.reused ? c.builtDay : 20260314);
    }
    // Without settings (quillory-tool) it is always built.
    host_ = {};
    WriteFileBytes(path, "earlier");
    ASSERT_TRUE(Show("2026-03-14 23:00:00"));
    EXPECT_NE(ReadFileBytes(path), "earlier");
}

TEST_F(HistorySummary, AFailedBuildKeepsTheEarlierPageAndTheFlag) {
    const std::string path = HistorySummaryPath(dir_.Path());
    WriteFileBytes(path, "earlier");
    // The temporary page cannot be made: a folder that is not empty holds
    // its name.
    std::filesystem::create_directories(path + ".part");
    WriteFileBytes(path + ".part/x", "");
    MemorySettings settings;
    settings.WriteInt(setting::kSection, setting::kHistoryModified, 1);
    EXPECT_FALSE(Show("2026-03-14 23:00:00", &settings));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].first.rfind("Open file " + path, 0), 0u) << host_.messages[0].first;
    EXPECT_TRUE(host_.navigations.empty());
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_EQ(settings.ReadInt(setting::kSection, setting::kHistoryModified, 1), 1);
}

}  // namespace
}  // namespace quillory
