#include "synthetic_bank.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/common/legacy_random.h"
#include "core/common/text.h"
#include "core/store/data_store.h"

namespace quillory::bench {

namespace {

const char* const kWords[] = {"长江", "黄河", "气候", "地形", "人口", "农业", "工业", "交通",
                              "城市", "河流", "山脉", "高原", "盆地", "平原", "季风", "资源"};

std::string Title(LegacyRandom& random, int number) {
    return Format("%s%s第%d题", kWords[random.Next() % 16], kWords[random.Next() % 16], number);
}

}  // namespace

bool MakeSyntheticBank(const std::string& path, const BankSize& size) {
    auto store = DataStore::Create(path);
    if (!store) {
        return false;
    }
    LegacyRandom random(7);
    Transaction tx(*store);
    bool ok = true;
    for (int k = 0; ok && k < size.knowledgePoints; ++k) {
        const int parent = k < 30 ? 0 : 300000 + random.Next() % k;
        ok = store->Execute(
            Format("insert into Knowledge(ID, SuperiorID, Title, Url, KeyWord, Weight) "
                   "values(%d, %d, '%s', 'Knowledge/%d.html', '%s,%s', %d)",
                   300000 + k, parent, Title(random, k).c_str(), 300000 + k, kWords[k % 16],
                   kWords[(k / 16) % 16], 1 + random.Next() % 10));
    }
    for (int q = 0; ok && q < size.questions; ++q) {
        ok = store->Execute(Format(
            "insert into Question(ID, TypeID, Url, AnswerUrl, Knowledge, Answer) values(%d, %d, "
            "'Question/%d.html', 'Question/%da.html', '%d,%d', "
            "'10,10,200,20,radio,A,1,group,auto\r\n10,40,200,20,radio,B,0')",
            200000 + q, 1 + q % 5, 200000 + q, 200000 + q,
            300000 + random.Next() % size.knowledgePoints,
            300000 + random.Next() % size.knowledgePoints));
    }
    int id = 100000;
    for (int p = 0; ok && p < size.papers; ++p) {
        const int paper = ++id;
        ok =
            store->Execute(Format("insert into Paper(ID, Title, TimeLimit, IsReference) "
                                  "values(%d, '%s', 3600, %s)",
                                  paper, Title(random, p).c_str(), p % 3 ? "false" : "true"));
        for (int s = 0; ok && s < 4; ++s) {
            const int section = ++id;
            ok =
                store->Execute(Format("insert into Paper(ID, SuperiorID, Title) "
                                      "values(%d, %d, '第%d部分')",
                                      section, paper, s + 1));
            for (int i = 0; ok && i < 25; ++i) {
                ok = store->Execute(Format(
                    "insert into Paper(ID, SuperiorID, QuestionID, Score, Title, IsQuestion) "
                    "values(%d, %d, %d, 2, '第%d题', true)",
                    ++id, section, 200000 + random.Next() % size.questions, s * 25 + i + 1));
            }
        }
    }
    for (int h = 0; ok && h < size.historyRows; ++h) {
        ok = store->Execute(Format(
            "insert into History(ID, RecordDate, RecordTime, PaperID, QuestionID, KnowledgeID, "
            "TotalScore, UserScore, UserAnswer) values(%d, '2026-%02d-%02d', '%02d:%02d:00', %d, "
            "%d, '%d', 2, %d, '1\r\n0\r\n')",
            700001 + h, 1 + h / 9000 % 12, 1 + h / 300 % 28, h / 60 % 24, h % 60,
            100001 + random.Next() % (size.papers * 101), 200000 + random.Next() % size.questions,
            300000 + random.Next() % size.knowledgePoints, random.Next() % 3));
    }
    return ok && tx.Commit();
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
