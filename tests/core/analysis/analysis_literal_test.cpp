// The classic analysis and the summary read each table once and match the
// knowledge IDs in one pass; the builders here do what the pages were first
// made with, one query per knowledge point and a substring search per
// question, and the pages must come out the same on many random banks.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "core/analysis/classic_analysis.h"
#include "core/analysis/history_summary.h"
#include "core/common/gb_encoding.h"
#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/common/text.h"
#include "core/pages/html_writer.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::ReadFileBytes;
using testing::RecordingHost;
using testing::TempDir;

std::string Head(const char* title) {
    return std::string(
               "<html>\n<head>\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\n"
               "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">\n<title>") +
           title +
           "</title>\n<style type=text/css>\ntd, p, li, input, select {font-size:12px;}\n"
           "</style>\n</head>\n<body background=\"common/image/bk_knowledge.gif\" "
           "bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000ff\" vlink=\"#000099\" "
           "alink=\"#ff0000\">\n<font face=\"宋体\">\n";
}
constexpr char kTail[] = "</font>\n</body>\n</html>\n";

std::string Cell(const std::string& start, const std::string& caption) {
    return start + "<p align=\"center\"><b>" + caption + "</b></p>\n</td>\n";
}

std::string Indented(const char* width, int depth) {
    std::string text = std::string("<tr>\n<td width=\"") + width +
                       "\" align=\"left\" valign=\"top\">\n<table border=\"0\" cellpadding=\"0\" "
                       "cellspacing=\"0\" style=\"border-collapse: collapse\">\n<tr>\n";
    for (int i = 1; i < depth; ++i) {
        text += "<td>&nbsp;&nbsp;&nbsp;</td>\n";
    }
    return text + "<td>\n";
}

struct Point {
    std::string url;
    int weight = 0;
};

PaperNodeList LiteralKnowledge(DataStore& store, std::map<int, Point>& beside) {
    PaperNodeList list;
    for (auto rows = store.Query("select * from Knowledge"); !rows->AtEnd(); rows->Next()) {
        list.Add({rows->Int("ID"), rows->Int("SuperiorID"), rows->Text("Title")});
        beside[rows->Int("ID")] = {rows->Text("Url"), rows->Int("Weight")};
    }
    list.Order();
    return list;
}

std::string LiteralSummary(DataStore& store, const DateTime& now) {
    std::map<int, Point> beside;
    const PaperNodeList knowledge = LiteralKnowledge(store, beside);
    std::string page =
        Head("用户历史分析") +
        "<p align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>历史分析--汇总"
        "</b></font></p>\n<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" "
        "width=\"800\" id=\"AutoNumber1\" align=\"center\">\n<tr bgcolor=\"#00FFFF\">\n";
    const auto start = [](const char* width, const char* span) {
        return Format("<td width=\"%s\" %salign=\"center\" valign=\"center\">\n", width, span);
    };
    page += Cell(start("300", "rowspan=\"2\" "), "知 识 点") +
            Cell(start("50", "rowspan=\"2\" "), "权 重") +
            Cell(start("150", "colspan=\"3\" "), "得 分 率") +
            Cell(start("300", "rowspan=\"2\" "), "错 题") + "</tr>\n<tr bgcolor=\"#00FFFF\">\n" +
            Cell(start("50", ""), "总 计") + Cell(start("50", ""), "三十天") +
            Cell(start("50", ""), "七 天") + "</tr>\n";
    for (const PaperNode& node : knowledge.Nodes()) {
        float totals[6] = {};
        std::string wrong;
        for (auto rows = store.Query(Format(
                 "select * from History where KnowledgeID like '*%d*' order by ID", node.id));
             !rows->AtEnd(); rows->Next()) {
            const float full = rows->Single("TotalScore");
            const float score = rows->Single("UserScore");
            const double age = static_cast<double>(SecondsSinceEpoch(now) -
                                                   SecondsSinceEpoch(rows->Date("RecordDate"))) /
                               86400.0;
            totals[0] += full;
            totals[1] += score;
            if (age <= 30) {
                totals[2] += full;
                totals[3] += score;
            }
            if (age <= 7) {
                totals[4] += full;
                totals[5] += score;
            }
            if (full > score) {
                const std::string label = rows->Text("PaperTitle") + "-" +
                                          rows->Text("PaperItemTitle") + "(" +
                                          FormatDate(rows->Date("RecordDate")) + ")";
                const int question = rows->Int("QuestionID");
                wrong += rows->Text("Url").empty()
                             ? HtmlText(label)
                             : HtmlLink(MakeLink(LinkKind::Question, question, label), label);
                wrong +=
                    rows->Text("AnswerUrl").empty()
                        ? "(答案)<br>"
                        : HtmlLink(MakeLink(LinkKind::Answer, question, label + "答案"), "答案") +
                              "<br>";
            }
        }
        const Point& point = beside[node.id];
        page += Indented("300", knowledge.Depth(node.id));
        page += point.url.empty()
                    ? HtmlText(node.title) + "<br>"
                    : HtmlLink(MakeLink(LinkKind::Knowledge, node.id), node.title) + "<br>\n";
        page += "</td>\n</tr>\n</table>\n</td>\n";
        std::string values[4] = {Format("%d", point.weight)};
        for (int i = 0; i < 3; ++i) {
            values[i + 1] = totals[2 * i] > 0
                                ? Format("%.1f%%", static_cast<double>(100.0f * totals[2 * i + 1] /
                                                                       totals[2 * i]))
                                : "-";
        }
        for (const std::string& value : values) {
            page += "<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\">" +
                    value + "</p>\n</td>\n";
        }
        page += "<td width=\"300\" align=\"center\" valign=\"top\">\n<p align=\"center\">" +
                (wrong.empty() ? "-" : wrong) + "</p>\n</td>\n</tr>\n";
    }
    return page + "</table>\n" + kTail;
}

// The page, and the weight of each point.
std::pair<std::string, std::map<int, int>> LiteralClassic(DataStore& store) {
    std::map<int, Point> beside;
    const PaperNodeList knowledge = LiteralKnowledge(store, beside);
    std::vector<std::pair<int, std::string>> types;
    for (auto rows = store.Query("select * from QuestionType order by ID"); !rows->AtEnd();
         rows->Next()) {
        types.emplace_back(rows->Int("ID"), rows->Text("Title"));
    }
    std::set<int> references;
    for (auto rows = store.Query("select ID from Paper where IsReference=TRUE order by Title");
         !rows->AtEnd(); rows->Next()) {
        references.insert(rows->Int("ID"));
    }
    PaperNodeList papers;
    std::map<int, float> scores;
    for (auto rows = store.Query("select * from Paper"); !rows->AtEnd(); rows->Next()) {
        papers.Add({.id = rows->Int("ID"),
                    .superiorId = rows->Int("SuperiorID"),
                    .title = rows->Text("Title"),
                    .questionId = rows->Int("QuestionID")});
        scores[rows->Int("ID")] = rows->Single("Score");
    }
    papers.Order();
    struct Question {
        int id;
        int type;
        std::string knowledge;
        float points;
        std::string label;
    };
    std::vector<Question> questions;
    bool inRun = false;
    int runSuperior = 0;
    std::string title;
    for (const PaperNode& node : papers.Nodes()) {
        if (inRun && node.superiorId == runSuperior) {
            inRun = false;
        }
        if (!inRun && references.count(node.id)) {
            inRun = true;
            runSuperior = node.superiorId;
        }
        if (!inRun) {
            continue;
        }
        if (references.count(node.id)) {
            title = node.title;
        }
        if (node.questionId != 0) {
            auto rows = store.Query(Format("select * from Question where ID=%d", node.questionId));
            questions.push_back({node.questionId, rows->Int("TypeID"), rows->Text("Knowledge"),
                                 scores[node.id], title + " " + node.title});
        }
    }
    std::string page = Head("经典试卷分析") +
                       "<p align=\"center\"><font size=\"5\" "
                       "color=\"#FF0000\"><b>试卷分析--汇总</b></font></p>\n" +
                       Format(
                           "<table border=\"2\" cellpadding=\"0\" cellspacing=\"1\" width=\"%d\" "
                           "id=\"AutoNumber1\" align=\"center\">\n",
                           350 + 200 * static_cast<int>(types.size())) +
                       "<tr bgcolor=\"#00FFFF\">\n" +
                       Cell("<td width=\"300\" align=\"center\" valign=\"top\">\n", "知识点") +
                       Cell("<td width=\"50\" align=\"center\" valign=\"top\">\n", "权重");
    for (const auto& type : types) {
        page += Cell("<td width=\"200\" align=\"center\" valign=\"top\">\n", HtmlText(type.second));
    }
    page += "</tr>\n";
    std::map<int, int> weights;
    for (const PaperNode& node : knowledge.Nodes()) {
        std::string row = Indented("300", knowledge.Depth(node.id));
        row += beside[node.id].url.empty()
                   ? HtmlText(node.title) + "<br>"
                   : HtmlLink(MakeLink(LinkKind::Knowledge, node.id), node.title);
        row += "</td>\n</tr>\n</table>\n</td>\n";
        row +=
            "<td width=\"50\" align=\"center\" valign=\"top\">\n<p align=\"center\"><b>[[score]]"
            "</b></p>\n</td>\n";
        float sum = 0.0f;
        for (const auto& type : types) {
            row += "<td width=\"200\" align=\"center\" valign=\"top\">\n<p align=\"center\">";
            bool any = false;
            for (const Question& q : questions) {
                if (q.type != type.first ||
                    q.knowledge.find(Format("%d", node.id)) == std::string::npos) {
                    continue;
                }
                any = true;
                row += HtmlLink(MakeLink(LinkKind::Question, q.id, q.label), q.label) + " " +
                       HtmlLink(Format("Quillory://Answer:%d答案", q.id), "答案") + "(" +
                       Format("%.1f", static_cast<double>(q.points)) + "分)<br>\n";
                sum += q.points / static_cast<float>(SplitString(q.knowledge, ",").size());
            }
            row += std::string(any ? "" : "-") + "</p>\n</td>\n";
        }
        row += "</tr>\n";
        const int weight = static_cast<int>(sum + 0.5f);
        ReplaceFirst(row, "[[score]]", std::to_string(weight));
        weights[node.id] = weight;
        page += row;
    }
    return {page + "</table>\n" + kTail, weights};
}

// Small banks whose IDs and ID lists hide IDs inside others.
class RandomBank {
public:
    explicit RandomBank(unsigned seed) : random_(seed) {}

    std::vector<std::string> Statements() {
        std::vector<std::string> sql = {"delete from Knowledge", "delete from History",
                                        "delete from Paper", "delete from Question",
                                        "delete from QuestionType"};
        const int pool[] = {1, 2, 12, 21, 120, 201, 1200, 100012, 100120, 120001, 201200, 300001};
        std::vector<int> points;
        for (const int id : pool) {
            if (Chance(2)) {
                const int parent = points.empty() || Chance(3) ? 0 : points[Pick(points.size())];
                sql.push_back(Format(
                    "insert into Knowledge(ID, SuperiorID, Title, Url, Weight) values(%d, %d, "
                    "'%s', '%s', %d)",
                    id, parent, Of({"甲", "乙", "丙", "甲<"}), Of({"", "Knowledge/k.html"}),
                    static_cast<int>(Pick(10))));
                points.push_back(id);
            }
        }
        for (int type = 1; type <= 3; ++type) {
            if (Chance(2)) {
                sql.push_back(Format("insert into QuestionType(ID, Title) values(%d, '%s')", type,
                                     Of({"选择题", "填空题", "判断&题"})));
            }
        }
        for (int q = 1; q <= 6; ++q) {
            sql.push_back(Format("insert into Question(ID, TypeID, Knowledge) values(%d, %d, '%s')",
                                 200000 + q, static_cast<int>(Pick(4)) + 1 == 4 ? 9 : q % 3 + 1,
                                 KnowledgeText().c_str()));
        }
        int id = 100000;
        for (int paper = 0; paper < 3; ++paper) {
            const int top = ++id;
            sql.push_back(
                Format("insert into Paper(ID, SuperiorID, Title, IsReference) "
                       "values(%d, 0, '%s', %s)",
                       top, Of({"真题", "模拟", "真题"}), Chance(2) ? "true" : "false"));
            for (int section = 0; section < 2; ++section) {
                const int below = ++id;
                sql.push_back(
                    Format("insert into Paper(ID, SuperiorID, Title, IsReference) "
                           "values(%d, %d, '%s', %s)",
                           below, top, Of({"一、", "二、"}), Chance(5) ? "true" : "false"));
                for (int item = 0; item < 3; ++item) {
                    sql.push_back(
                        Format("insert into Paper(ID, SuperiorID, QuestionID, Title, "
                               "Score) values(%d, %d, %d, '%s', %s)",
                               ++id, Chance(3) ? top : below, 200001 + static_cast<int>(Pick(6)),
                               Of({"第1题", "第2题"}), Of({"0", "1", "2.5", "3", "4.98", "5"})));
                }
            }
        }
        const int rows = static_cast<int>(Pick(16));
        for (int row = 0; row < rows; ++row) {
            DateTime date;
            const int day = 31 - static_cast<int>(Pick(42));
            date = {2026, day > 0 ? 3 : 2, day > 0 ? day : day + 28};
            sql.push_back(Format(
                "insert into History(ID, RecordDate, RecordTime, PaperTitle, PaperItemTitle, "
                "QuestionID, KnowledgeID, Url, AnswerUrl, TotalScore, UserScore) values(%d, '%s', "
                "'10:00:00', '%s', '%s', %d, '%s', '%s', '%s', %s, %s)",
                700001 + row, FormatDate(date).c_str(), Of({"第1套", "第2套"}),
                Of({"第1题", "第2题"}), 200001 + row, KnowledgeText().c_str(),
                Of({"", "Question/q.html"}), Of({"", "Question/a.html"}),
                Of({"0", "1", "2", "2.5"}), Of({"0", "1", "2", "3"})));
        }
        return sql;
    }

private:
    size_t Pick(size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random_);
    }
    bool Chance(size_t oneIn) { return Pick(oneIn) == 0; }
    const char* Of(std::initializer_list<const char*> choices) {
        return choices.begin()[Pick(choices.size())];
    }
    std::string KnowledgeText() {
        std::string text;
        const size_t pieces = Pick(4);
        for (size_t i = 0; i < pieces; ++i) {
            text +=
                (i ? "," : "") + std::string(Of({"000012", "100012", "000120", "1", "12", "21",
                                                 "000000", "x", "", "1200012", "201200", "-12"}));
        }
        return text;
    }

    std::mt19937 random_;
};

std::string WithoutChart(std::string page) {
    const size_t start = page.find("<div class=\"trend\">");
    if (start != std::string::npos) {
        page.erase(start, page.find("</div>\n", start) + 7 - start);
    }
    return page;
}

TEST(AnalysisPages, TheOnePassBuildsEqualTheLiteralOnesOnRandomBanks) {
    TempDir dir;
    auto store = testing::MakeDataFile(dir.File("bank.qly"));
    std::filesystem::create_directories(dir.File("Knowledge"));
    DateTime now;
    ParseDateTime("2026-03-31 06:30:00", now);
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        {
            Transaction transaction(*store);
            for (const std::string& sql : RandomBank(seed).Statements()) {
                ASSERT_TRUE(store->Execute(sql)) << sql << ": " << store->LastError();
            }
            ASSERT_TRUE(transaction.Commit());
        }
        RecordingHost host;
        PageContext context{*store, dir.Path(), host};
        ASSERT_TRUE(ShowHistorySummary(context, nullptr, now, {}));
        EXPECT_EQ(WithoutChart(GbToUtf8(ReadFileBytes(HistorySummaryPath(dir.Path())))),
                  LiteralSummary(*store, now));

        const auto [page, weights] = LiteralClassic(*store);
        ASSERT_TRUE(BuildClassicAnalysis(context, ClassicPageVariant::View, {}));
        EXPECT_EQ(GbToUtf8(ReadFileBytes(ReferenceTotalPath(dir.Path()))), page);
        std::map<int, int> stored;
        for (auto rows = store->Query("select ID, Weight from Knowledge"); !rows->AtEnd();
             rows->Next()) {
            stored[rows->Int("ID")] = rows->Int("Weight");
        }
        EXPECT_EQ(stored, weights);
    }
}

}  // namespace
}  // namespace quillory
