#include "synthetic_bank.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/common/gb_encoding.h"
#include "core/common/legacy_random.h"
#include "core/common/text.h"
#include "core/store/data_store.h"

namespace quillory::bench {

namespace {

const char* const kWords[] = {"长江", "黄河", "气候", "地形", "人口", "农业", "工业", "交通",
                              "城市", "河流", "山脉", "高原", "盆地", "平原", "季风", "资源"};
const char* const kTypes[] = {"单项选择题", "多项选择题", "判断题", "填空题", "综合题"};
constexpr int kTypeCount = 5;
constexpr int kFirstType = 150001;
constexpr int kFirstQuestion = 200000;
constexpr int kFirstKnowledge = 300000;
// The tree: 20 roots, 9 points under each, 10 under each of those.
constexpr int kRoots = 20;
constexpr int kSecondLevel = kRoots + kRoots * 9;

std::string Title(LegacyRandom& random, int number) {
    return Format("%s%s第%d题", kWords[random.Next() % 16], kWords[random.Next() % 16], number);
}

int Parent(int k) {
    if (k < kRoots) {
        return 0;
    }
    return kFirstKnowledge +
           (k < kSecondLevel ? (k - kRoots) / 9 : kRoots + (k - kSecondLevel) / 10);
}

int LeafPoint(LegacyRandom& random, const BankSize& size) {
    return kFirstKnowledge + kSecondLevel + random.Next() % (size.knowledgePoints - kSecondLevel);
}

// Every 20 questions start a group of 2 to 4, named by its members' IDs.
std::string GroupOf(int q, const BankSize& size) {
    const int first = q / 20 * 20;
    const int members = 2 + q / 20 % 3;
    if (q - first >= members || first + members > size.questions) {
        return "";
    }
    std::string group;
    for (int m = 0; m < members; ++m) {
        group += Format(m == 0 ? "%d" : ",%d", kFirstQuestion + first + m);
    }
    return group;
}

// Day d of 2025-2026 (neither a leap year) as "YYYY-MM-DD".
std::string DateOf(int d) {
    static const int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int day = d % 365;
    int month = 0;
    while (day >= kMonthDays[month]) {
        day -= kMonthDays[month++];
    }
    return Format("%d-%02d-%02d", 2025 + d / 365, month + 1, day + 1);
}

// A template of 4 sections of 25 slots, the slots cycling through explicit
// IDs, a type, knowledge points, a type with knowledge points, and an ID
// or'ed with two types.
bool InsertTemplate(DataStore& store, LegacyRandom& random, const BankSize& size, int root,
                    int number) {
    const auto question = [&] { return kFirstQuestion + random.Next() % size.questions; };
    const auto type = [&] { return kFirstType + random.Next() % kTypeCount; };
    bool ok =
        store.Execute(Format("insert into PaperTemplate(ID, Title, TimeLimit, ScoreMin, ScoreMax) "
                             "values(%d, '模拟卷%d', 3600, 0, 200)",
                             root, number));
    int id = root;
    for (int s = 0; ok && s < 4; ++s) {
        const int section = ++id;
        ok =
            store.Execute(Format("insert into PaperTemplate(ID, SuperiorID, Title, ScoreMax) "
                                 "values(%d, %d, '第%d部分', 50)",
                                 section, root, s + 1));
        for (int i = 0; ok && i < 25; ++i) {
            std::string ids;
            std::string types;
            std::string points;
            switch (i % 5) {
                case 0:
                    ids = Format("%d,%d", question(), question());
                    break;
                case 1:
                    types = Format("%d", type());
                    break;
                case 2:
                    points = Format("%d,%d", LeafPoint(random, size), LeafPoint(random, size));
                    break;
                case 3:
                    types = Format("%d", type());
                    points = Format("%d,%d,%d", LeafPoint(random, size), LeafPoint(random, size),
                                    LeafPoint(random, size));
                    break;
                default:
                    ids = Format("%d", question());
                    types = Format("%d,%d", type(), type());
            }
            ok = store.Execute(
                Format("insert into PaperTemplate(ID, SuperiorID, Title, IsQuestion, ScoreMax, "
                       "QuestionID, QuestionTypeID, KnowledgeID) values(%d, %d, '第%d题', true, 2, "
                       "'%s', '%s', '%s')",
                       ++id, section, s * 25 + i + 1, ids.c_str(), types.c_str(), points.c_str()));
        }
    }
    return ok;
}

// A paper's ID, and the ID of its question item k (0-99): 105 IDs a paper,
// the paper, then each section followed by its 25 items.
int PaperId(int paper) {
    return 100001 + paper * 105;
}

int ItemId(int paper, int k) {
    return PaperId(paper) + 1 + k / 25 * 26 + 1 + k % 25;
}

struct HistoryInput {
    const BankSize& size;
    const std::vector<std::string>& paperTitles;
    const std::vector<int>& itemQuestions;      // per paper, its 100 items' question indexes
    const std::vector<std::string>& knowledge;  // per question index, its points
};

struct HistoryRow {
    int id;
    std::string date;
    std::string time;
    int paperId;
    std::string paperTitle;
    int itemId;
    int itemNumber;
    int question;  // index
    int totalScore;
    int userScore;
    const char* answer;
};

bool InsertHistoryRow(DataStore& store, const HistoryInput& input, const HistoryRow& row) {
    return store.Execute(Format(
        "insert into History(ID, RecordDate, RecordTime, PaperID, PaperTitle, PaperItemID, "
        "PaperItemTitle, QuestionID, QuestionTypeID, KnowledgeID, Url, AnswerUrl, "
        "TotalScore, UserScore, UserAnswer) values(%d, '%s', '%s', %d, '%s', "
        "%d, '第%d题', %d, %d, '%s', 'Question/%d.html', 'Question/%da.html', %d, %d, '%s')",
        row.id, row.date.c_str(), row.time.c_str(), row.paperId, row.paperTitle.c_str(), row.itemId,
        row.itemNumber, kFirstQuestion + row.question, kFirstType + row.question % kTypeCount,
        input.knowledge[static_cast<size_t>(row.question)].c_str(), kFirstQuestion + row.question,
        kFirstQuestion + row.question, row.totalScore, row.userScore, row.answer));
}

// Every row a record of its own: a random item of a paper's first section
// with a random question, one a minute.
bool InsertStressHistory(DataStore& store, LegacyRandom& random, const HistoryInput& input) {
    const BankSize& size = input.size;
    bool ok = true;
    for (int h = 0; ok && h < size.historyRows; ++h) {
        const int paper = random.Next() % size.papers;
        const int slot = random.Next() % 25;
        const int q = random.Next() % size.questions;
        // Every 40th record has no total score, as unscored items leave.
        const int total = h % 40 == 0 ? 0 : 2;
        ok = InsertHistoryRow(store, input,
                              {700001 + h, DateOf(static_cast<int>(h * 730LL / size.historyRows)),
                               Format("%02d:%02d:00", h / 60 % 24, h % 60), PaperId(paper),
                               Format("试卷%d", paper + 1), PaperId(paper) + 2 + slot, slot + 1, q,
                               total, total == 0 ? 0 : random.Next() % 3, "1\r\n0\r\n"});
    }
    return ok;
}

// Exams as the exam frame stores them: each on one paper, its first 30-80
// question items a row each, numbered on, under one date and time of its
// own. The exams follow each other through 2025 and 2026, a few a day from
// 08:00 on, and the learner answers better as the days go by.
bool InsertLearnerHistory(DataStore& store, LegacyRandom& random, const HistoryInput& input) {
    const BankSize& size = input.size;
    bool ok = true;
    int row = 0;
    int day = -1;
    int examOfDay = 0;
    while (ok && row < size.historyRows) {
        const int examDay = static_cast<int>(row * 730LL / size.historyRows);
        examOfDay = examDay == day ? examOfDay + 1 : 0;
        day = examDay;
        const int seconds = 8 * 3600 + examOfDay * 85 * 60 + random.Next() % 3000;
        const std::string time =
            Format("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
        const int paper = random.Next() % size.papers;
        const int questions = std::min(30 + random.Next() % 51, size.historyRows - row);
        const int rightPercent = 55 + 25 * day / 730;
        for (int k = 0; ok && k < questions; ++k, ++row) {
            const bool right = random.Next() % 100 < rightPercent;
            ok = InsertHistoryRow(store, input,
                                  {700001 + row, DateOf(day), time, PaperId(paper),
                                   input.paperTitles[static_cast<size_t>(paper)], ItemId(paper, k),
                                   k + 1, input.itemQuestions[static_cast<size_t>(paper * 100 + k)],
                                   2, right ? 2 : 0, right ? "1\r\n0\r\n" : "0\r\n1\r\n"});
        }
    }
    return ok;
}

bool WritePage(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << Utf8ToGb(
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
        "</head><body>" +
        text + "</body></html>\r\n");
    return static_cast<bool>(out);
}

}  // namespace

bool MakeSyntheticBank(const std::string& path, const BankSize& size) {
    auto created = DataStore::Create(path);
    if (!created) {
        return false;
    }
    std::unique_ptr<DataStore>& store = *created;
    LegacyRandom random(7);
    Transaction tx(*store);
    bool ok = true;
    for (int t = 0; ok && t < kTypeCount; ++t) {
        ok = store->Execute(Format("insert into QuestionType(ID, Title) values(%d, '%s')",
                                   kFirstType + t, kTypes[t]));
    }
    for (int k = 0; ok && k < size.knowledgePoints; ++k) {
        ok = store->Execute(
            Format("insert into Knowledge(ID, SuperiorID, Title, Url, KeyWord, Weight) "
                   "values(%d, %d, '%s', 'Knowledge/%d.html', '%s,%s', %d)",
                   kFirstKnowledge + k, Parent(k), Title(random, k).c_str(), kFirstKnowledge + k,
                   kWords[k % 16], kWords[(k / 16) % 16], 1 + random.Next() % 10));
    }
    std::vector<std::string> knowledge(static_cast<size_t>(size.questions));
    for (int q = 0; ok && q < size.questions; ++q) {
        std::string& points = knowledge[static_cast<size_t>(q)];
        for (int n = 1 + random.Next() % 3; n > 0; --n) {
            points += Format(points.empty() ? "%d" : ",%d", LeafPoint(random, size));
        }
        ok = store->Execute(Format(
            "insert into Question(ID, TypeID, Level, Url, AnswerUrl, Knowledge, GroupID, Answer) "
            "values(%d, %d, %d, 'Question/%d.html', 'Question/%da.html', '%s', '%s', "
            "'10,10,200,20,radio,A,1,group,auto\r\n10,40,200,20,radio,B,0')",
            kFirstQuestion + q, kFirstType + q % kTypeCount, 1 + q % 5, kFirstQuestion + q,
            kFirstQuestion + q, points.c_str(), GroupOf(q, size).c_str()));
    }
    std::vector<std::string> paperTitles;
    std::vector<int> itemQuestions;
    int id = 100000;
    for (int p = 0; ok && p < size.papers; ++p) {
        const int paper = ++id;
        paperTitles.push_back(Title(random, p));
        ok = store->Execute(
            Format("insert into Paper(ID, Title, Url, TimeLimit, IsReference) "
                   "values(%d, '%s', 'Question/P%d.html', 3600, %s)",
                   paper, paperTitles.back().c_str(), paper, p % 15 ? "false" : "true"));
        for (int s = 0; ok && s < 4; ++s) {
            const int section = ++id;
            ok =
                store->Execute(Format("insert into Paper(ID, SuperiorID, Title, Url) "
                                      "values(%d, %d, '第%d部分', 'Question/P%d.html')",
                                      section, paper, s + 1, section));
            for (int i = 0; ok && i < 25; ++i) {
                itemQuestions.push_back(random.Next() % size.questions);
                ok = store->Execute(Format(
                    "insert into Paper(ID, SuperiorID, QuestionID, Score, Title, IsQuestion) "
                    "values(%d, %d, %d, 2, '第%d题', true)",
                    ++id, section, kFirstQuestion + itemQuestions.back(), s * 25 + i + 1));
            }
        }
    }
    for (int t = 0; ok && t < size.templates; ++t) {
        ok = InsertTemplate(*store, random, size, kFirstTemplateId + t * 200, t + 1);
    }
    const HistoryInput input{size, paperTitles, itemQuestions, knowledge};
    ok = ok && (size.learner ? InsertLearnerHistory(*store, random, input)
                             : InsertStressHistory(*store, random, input));
    return ok && tx.Commit();
}

bool WriteSyntheticPages(const std::string& dataFolder, const BankSize& size) {
    const std::filesystem::path folder(dataFolder);
    std::error_code ec;
    for (const char* name : {"Knowledge", "Question", "Help"}) {
        std::filesystem::create_directories(folder / name, ec);
    }
    bool ok = !ec;
    for (int k = 0; ok && k < size.knowledgePoints; ++k) {
        ok = WritePage(folder / "Knowledge" / Format("%d.html", kFirstKnowledge + k),
                       Format("知识点 %d", kFirstKnowledge + k));
    }
    // A page for each paper and each of its sections, titled by the program.
    for (int p = 0; ok && p < size.papers; ++p) {
        for (int s = 0; ok && s < 5; ++s) {
            const int id = PaperId(p) + (s == 0 ? 0 : 1 + (s - 1) * 26);
            ok = WritePage(folder / "Question" / Format("P%d.html", id), "<b>[标题]</b>");
        }
    }
    for (int q = 0; ok && q < size.questions; ++q) {
        const int question = kFirstQuestion + q;
        ok = WritePage(folder / "Question" / Format("%d.html", question),
                       Format("第 %d 题", question)) &&
             WritePage(folder / "Question" / Format("%da.html", question),
                       Format("第 %d 题的答案: A", question));
    }
    return ok;
}

const std::string& SharedSyntheticBank() {
    static const std::string path = [] {
        std::string folder =
            (std::filesystem::temp_directory_path() / "quillory-bench-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            std::abort();
        }
        static const std::string remove = folder;
        std::atexit([] { std::filesystem::remove_all(remove); });
        const std::string file = folder + "/large.qly";
        if (!MakeSyntheticBank(file, BankSize{})) {
            std::abort();
        }
        return file;
    }();
    return path;
}

}  // namespace quillory::bench
