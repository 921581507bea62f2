// The program's selection against the literal one on many random small
// banks: every call must match in its count, its key and the random numbers
// it consumed, and every paper built from them row for row.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/common/text.h"
#include "core/generation/literal_selection.h"
#include "core/generation/paper_items.h"
#include "core/generation/question_selection.h"
#include "core/generation/selection_tables.h"
#include "core/store/data_store.h"
#include "support/recording_host.h"
#include "support/recording_progress.h"
#include "support/temp_dir.h"

namespace quillory {
namespace {

using testing::LiteralSelection;
using testing::MakeDataFile;
using testing::RecordingHost;
using testing::RecordingProgress;
using testing::TempDir;

class RandomBank {
public:
    explicit RandomBank(unsigned seed) : rng_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& values) {
        return values[static_cast<size_t>(Below(static_cast<int>(values.size())))];
    }

    void Fill(DataStore& store, const DateTime& now) {
        Transaction transaction(store);
        for (int k = Below(12); k > 0; --k) {
            const int id = Chance(85) ? 500100 + Below(20) : 12300 + Below(5);
            if (std::find(knowledge_.begin(), knowledge_.end(), Format("%d", id)) !=
                knowledge_.end()) {
                continue;
            }
            Run(store,
                Format("insert into Knowledge(ID, Weight) values(%d, %d)", id, Below(62) - 2));
            knowledge_.push_back(Format("%d", id));
        }
        knowledge_.push_back("500199");
        std::vector<int> ids;
        for (int q = Below(30); q > 0; --q) {
            ids.push_back(550001 + Below(60));
        }
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        std::shuffle(ids.begin(), ids.end(), rng_);
        for (const int id : ids) {
            questions_.push_back(Format("%d", id));
        }
        for (const int id : ids) {
            Run(store, Format("insert into Question(ID, TypeID, Knowledge, GroupID, Answer) "
                              "values(%d, %s, '%s', '%s', '%s')",
                              id, Pick(types_).c_str(), PointList().c_str(), Group(id).c_str(),
                              AnswerForm().c_str()));
        }
        questions_.push_back("550099");
        for (int h = Below(40), id = 700001; h > 0; --h, ++id) {
            const int total = Pick(std::vector<int>{0, 1, 2, 5, 10});
            const int days = Below(50) - 40;
            std::string date = FormatDate(Shifted(now, days));
            if (Chance(5)) {
                date = "";
            }
            Run(store, Format("insert into History(ID, RecordDate, QuestionID, KnowledgeID, "
                              "TotalScore, UserScore) values(%d, '%s', %s, '%s', %d, %f)",
                              id, date.c_str(), Pick(questions_).c_str(), PointList().c_str(),
                              total, total * Below(5) / 4.0));
        }
        ASSERT_TRUE(transaction.Commit());
    }

    // The three lists of one slot, weird pieces included.
    std::string IdList() { return List(questions_, {"55000a", " 550003", "550001 or 1=1", "12"}); }
    std::string TypeList() { return List(types_, {"100001)", "-100002", "1e5000"}); }
    std::string PointPieces() {
        return List(knowledge_, {"50'0101", "5001*1", "%00101", "500_01", "50010?", "5001\\1"});
    }

private:
    // now moved by days (-40 .. 9), kept a date.
    static DateTime Shifted(const DateTime& now, int days) {
        DateTime day = AdjustmentCutOff(AdjustmentCutOff(now, 1), 1);
        for (int d = 0; d < days + 60; ++d) {
            day = Forward(day);
        }
        return day;
    }
    static DateTime Forward(DateTime day) {
        static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (day.year % 4 == 0 && day.year % 100 != 0) || day.year % 400 == 0;
        const int last = kDays[day.month - 1] + (day.month == 2 && leap ? 1 : 0);
        if (++day.day > last) {
            day.day = 1;
            if (++day.month > 12) {
                day.month = 1;
                ++day.year;
            }
        }
        return day;
    }

    void Run(DataStore& store, const std::string& sql) {
        ASSERT_TRUE(store.Execute(sql)) << sql << ": " << store.LastError();
    }

    std::string PointList() {
        std::string text;
        for (int n = Below(4); n > 0; --n) {
            text += (text.empty() ? "" : ",") + Pick(knowledge_);
        }
        return Chance(10) ? text + "," : text;
    }

    std::string Group(int id) {
        if (questions_.size() < 2 || !Chance(30)) {
            return Chance(5) ? "550001,55000" : "";
        }
        std::string group = Format("%d", id);
        for (int n = 1 + Below(2); n > 0; --n) {
            group += "," + Pick(questions_);
        }
        return Chance(20) ? " " + group + " " : group;
    }

    std::string AnswerForm() {
        switch (Below(6)) {
            case 0:
                return "0,0,1,1,label,t";
            case 1:
                return "0,0,1,1,edit,a,x,group\r\n0,0,1,1,edit,b,y,group\r\n"
                       "0,0,1,1,edit,c,z,group";
            case 2:
                return "0,0,1,1,radio,a,1,group\r\n0,0,1,1,radio,b,0,group";
            default:
                return "0,0,1,1,radio,a,1";
        }
    }

    std::string List(const std::vector<std::string>& pool, const std::vector<std::string>& odd) {
        std::string text;
        for (int n = Below(4); n > 0; --n) {
            const std::string& piece = Chance(8) ? Pick(odd) : Pick(pool);
            text += (text.empty() || Chance(5) ? "" : ",") + piece;
        }
        return text;
    }

    std::mt19937 rng_;
    std::vector<std::string> knowledge_;
    std::vector<std::string> questions_;
    std::vector<std::string> types_{"100001", "100002", "100003", "1"};
};

TEST(SelectionDifferential, ChoosesWhatTheLiteralSelectionChooses) {
    int calls = 0;
    int chosen = 0;
    for (unsigned bank = 0; bank < 200; ++bank) {
        TempDir dir;
        auto store = MakeDataFile(dir.File("a.qly"));
        store->Execute("pragma synchronous=off");  // throwaway files
        RandomBank random(bank);
        const DateTime now{2026, 3, random.Below(28) + 1, random.Below(24), random.Below(60), 7};
        random.Fill(*store, now);
        QuestionSelection fast(*store, now);
        LiteralSelection literal(*store, now);
        std::string used;
        LegacyRandom fastRandom(bank * 7919u);
        LegacyRandom literalRandom(bank * 7919u);
        for (int slot = 0; slot < 12; ++slot) {
            const std::string ids = random.Chance(30) ? random.IdList() : "";
            const std::string types = random.Chance(60) ? random.TypeList() : "";
            const std::string points = random.Chance(60) ? random.PointPieces() : "";
            const bool adjust = random.Chance(60);
            const int period = std::vector<int>{0, 1, 2, 7}[static_cast<size_t>(random.Below(4))];
            const bool groups = random.Chance(60);
            std::string fastKey = "stale";
            std::string literalKey = "stale";
            const int fastCount = fast.SelectQuestionUnit(ids, types, points, fastKey, used, adjust,
                                                          period, groups, fastRandom);
            const int literalCount = literal.SelectQuestionUnit(
                ids, types, points, literalKey, used, adjust, period, groups, literalRandom);
            SCOPED_TRACE(Format(
                "bank %u slot %d: ids '%s' types '%s' points '%s' adjust %d "
                "period %d groups %d",
                bank, slot, ids.c_str(), types.c_str(), points.c_str(), adjust, period, groups));
            ASSERT_EQ(fastCount, literalCount);
            ASSERT_EQ(fastKey, literalKey);
            ASSERT_EQ(fastRandom.State(), literalRandom.State());
            ++calls;
            if (!fastKey.empty()) {
                ++chosen;
                if (random.Chance(70)) {
                    used += fastKey + ",";
                }
            }
        }
    }
    // The banks must exercise the choice itself, not only empty results.
    EXPECT_GT(chosen, calls / 3);
}

TEST(SelectionDifferential, BuildsThePapersTheLiteralSelectionBuilds) {
    for (unsigned bank = 1000; bank < 1120; ++bank) {
        TempDir dir;
        auto store = MakeDataFile(dir.File("a.qly"));
        store->Execute("pragma synchronous=off");  // throwaway files
        RandomBank random(bank);
        const DateTime now{2026, 11, random.Below(28) + 1, 12, 0, 0};
        random.Fill(*store, now);
        std::vector<TemplateItem> items{{1, 0, "卷", false, "", "", ""}};
        for (int n = 2; n < 16; ++n) {
            const int section = random.Chance(20) ? n : 1;
            if (section == n) {
                items.push_back({n, 1, Format("节%d", n), false, "", "", ""});
                continue;
            }
            items.push_back({n, items.back().isQuestion ? items.back().superiorId : items.back().id,
                             "", true, random.Chance(30) ? random.IdList() : "",
                             random.Chance(60) ? random.TypeList() : "",
                             random.Chance(60) ? random.PointPieces() : ""});
        }
        const PaperItemOptions options{random.Chance(50), random.Below(3), random.Chance(70),
                                       1700000000 + random.Below(100000)};
        std::vector<PaperItemRow> rows[2];
        std::vector<std::pair<std::string, MessageIcon>> messages[2];
        for (int which = 0; which < 2; ++which) {
            QuestionSelection fast(*store, now);
            LiteralSelection literal(*store, now);
            LegacyRandom generator;
            RecordingHost host;
            RecordingProgress progress;
            ASSERT_TRUE(BuildPaperItems(items, rows[which], 550001, options, *store,
                                        which == 0 ? static_cast<UnitSelector&>(fast) : literal,
                                        generator, host, progress));
            messages[which] = host.messages;
        }
        SCOPED_TRACE(Format("bank %u", bank));
        EXPECT_EQ(rows[0], rows[1]);
        EXPECT_EQ(messages[0], messages[1]);
    }
}

}  // namespace
}  // namespace quillory
