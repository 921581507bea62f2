#include "support/foreign_bank.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "core/common/gb_encoding.h"
#include "core/common/text.h"
#include "core/store/data_store.h"
#include "support/temp_dir.h"

namespace quillory::testing {

namespace {

// The tables in the old engine's types or in plain SQL ones; {I} an integer,
// {F} a single, {B} a yes/no, {T} a text, {D} a date. No column has a
// default or a collation, and only Question and Knowledge have a key the
// engine orders by.
constexpr char kTables[] = R"sql(
create table Paper (ID {I} primary key, SuperiorID {I}, QuestionID {I}, Score {F},
    TimeLimit {I}, Title {T}, Url {T}, IsQuestion {B}, IsReference {B}, IsSystem {B});
create table Question (ID integer primary key, TypeID {I}, Level {I}, Url {T}, Answer {M},
    AnswerUrl {T}, Knowledge {T}, KeyWord {T}, GroupID {T});
create table QuestionType (ID {I}, Title {T});
create table Knowledge (ID integer primary key, SuperiorID {I}, Title {T}, Url {T},
    KeyWord {T}, Weight {I});
create table History (ID {I} primary key, RecordDate {D}, RecordTime {D}, PaperID {I},
    PaperTitle {T}, PaperItemID {I}, PaperItemTitle {T}, QuestionID {I}, QuestionTypeID {I},
    KnowledgeID {T}, Url {T}, AnswerUrl {T}, TotalScore {F}, UserScore {F}, UserAnswer {M},
    UserMemo {M});
create table PaperTemplate (ID {I} primary key, SuperiorID {I}, Title {T}, IsQuestion {B},
    TimeLimit {I}, {S} ScoreMax {F}, QuestionID {T}, QuestionTypeID {T}, KnowledgeID {T}, Url {T});
create table ConfigProduct (LastVerFile {T});
)sql";

constexpr char kRadio[] =
    "10,8,520,20,label,请选择一个正确选项：\n"
    "10,36,120,22,radio,A,%d,group,auto\n140,36,120,22,radio,B,%d\n"
    "270,36,120,22,radio,C,%d\n400,36,120,22,radio,D,0";
constexpr char kCheck[] =
    "10,8,520,20,label,请选择所有正确选项：\n"
    "10,36,120,22,check,A,1,group,auto\n140,36,120,22,check,B,1\n"
    "270,36,120,22,check,C,0\n400,36,120,22,check,D,1";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

std::string Tables(const ForeignBankStyle& style) {
    std::string sql = kTables;
    const char* types[][3] = {{"{I}", "long", "integer"},  {"{F}", "single", "real"},
                              {"{B}", "bit", "boolean"},   {"{T}", "varchar(255)", "text"},
                              {"{M}", "longtext", "text"}, {"{D}", "datetime", "text"}};
    for (const auto& type : types) {
        sql = Replace(sql, type[0], style.jetTypes ? type[1] : type[2]);
    }
    return Replace(sql, "{S}", style.hasScoreMin ? "ScoreMin real," : "");
}

std::string Rows(const ForeignBankStyle& style) {
    const std::string yes = style.yes;
    const std::string flag = style.flag;
    const std::string no = style.no;
    std::string sql =
        "insert into QuestionType values(900001, '单项选择题');\n"
        "insert into QuestionType values(900002, '多项选择题');\n"
        "insert into Knowledge values(301000, 0, '第1章 河流', 'Knowledge\\301000.html', '河流', "
        "5);\n"
        "insert into Knowledge values(301100, 301000, '1.1 长江', 'Knowledge/301100.html', "
        "'河流,长江', 6);\n"
        "insert into Knowledge values(301200, 301000, '1.2 黄河', 'Knowledge/301200.html', "
        "'河流,黄河', NULL);\n";
    const struct {
        int id;
        int type;
        std::string answer;
        const char* knowledge;
    } questions[] = {{200001, 900001, Format(kRadio, 1, 0, 0), "301100"},
                     {200002, 900001, Format(kRadio, 0, 1, 0), "301200"},
                     {200003, 900002, kCheck, "301100,301200"},
                     {200004, 900001, Format(kRadio, 0, 0, 1), "301100"}};
    for (const auto& q : questions) {
        sql += Format(
            "insert into Question values(%d, %d, 1, 'Question/%d.html', '%s', "
            "'Question/%da.html', '%s', NULL, NULL);\n",
            q.id, q.type, q.id, q.answer.c_str(), q.id, q.knowledge);
    }
    sql += Format(
        "insert into Paper values(100000, 0, 0, 8, 600, '真题一', 'Question/P100000.html', %s, %s, "
        "%s);\n"
        "insert into Paper values(100100, 100000, 0, 8, 0, '第一部分', NULL, %s, %s, %s);\n",
        no.c_str(), flag.c_str(), no.c_str(), no.c_str(), no.c_str(), no.c_str());
    for (int n = 1; n <= 4; ++n) {
        sql += Format("insert into Paper values(%d, 100100, %d, 2, 0, '第%d题', '', %s, %s, %s);\n",
                      100100 + n, 200000 + n, n, yes.c_str(), no.c_str(), no.c_str());
    }
    const std::string scoreMin = style.hasScoreMin ? "0, " : "";
    sql += Format(
        "insert into PaperTemplate values(400000, 0, '练习模版', %s, 900, %s10, '', '', '', "
        "'Question/T400000.html');\n"
        "insert into PaperTemplate values(400100, 400000, '选择题', %s, 0, %s8, '', '', '', "
        "'Question/T400100.html');\n",
        no.c_str(), scoreMin.c_str(), no.c_str(), scoreMin.c_str());
    for (int n = 1; n <= 2; ++n) {
        sql += Format(
            "insert into PaperTemplate values(%d, 400100, '%d', %s, 30, %s4, '', '900001', '', "
            "NULL);\n",
            400100 + n, n, flag.c_str(), scoreMin.c_str());
    }
    for (int n = 1; n <= 2; ++n) {
        sql += Format(
            "insert into History values(%d, '%s', '%s', 100000, '真题一', %d, '第%d题', %d, "
            "900001, '%s', 'Question/%d.html', 'Question/%da.html', 2, %d, '', NULL);\n",
            700000 + n, style.date, style.time, 100100 + n, n, 200000 + n,
            n == 1 ? "301100" : "301200", 200000 + n, 200000 + n, n == 1 ? 2 : 0);
    }
    return sql + "insert into ConfigProduct values('');\n";
}

void WritePage(const std::string& path, const std::string& body) {
    WriteFileBytes(path, Utf8ToGb("<html><head><meta http-equiv=\"Content-Type\" "
                                  "content=\"text/html; charset=gb2312\"></head><body>" +
                                  body + "</body></html>"));
}

void WritePages(const std::string& folder) {
    namespace fs = std::filesystem;
    for (const char* pages : {"Question", "Knowledge", "Help"}) {
        fs::create_directories(folder + "/" + pages);
    }
    for (const int id : {301000, 301100, 301200}) {
        WritePage(Format("%s/Knowledge/%d.html", folder.c_str(), id), "知识点");
    }
    for (int id = 200001; id <= 200004; ++id) {
        WritePage(Format("%s/Question/%d.html", folder.c_str(), id), "[试题] 长江注入哪个海？");
        WritePage(Format("%s/Question/%da.html", folder.c_str(), id), "[答案] 东海");
    }
    WritePage(folder + "/Question/P100000.html", "[标题]");
    WritePage(folder + "/Question/T400000.html", "练习");
    WritePage(folder + "/Question/T400100.html", "选择题");
}

}  // namespace

std::string MakeForeignBank(const std::string& folder, const ForeignBankStyle& style) {
    const std::string path = folder + "/foreign.qly";
    sqlite3* db = nullptr;
    bool written = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                   nullptr) == SQLITE_OK;
    char* message = nullptr;
    written = written &&
              sqlite3_key(db, kDataFilePassword, static_cast<int>(sizeof kDataFilePassword - 1)) ==
                  SQLITE_OK &&
              sqlite3_exec(db, (Tables(style) + Rows(style)).c_str(), nullptr, nullptr, &message) ==
                  SQLITE_OK;
    EXPECT_TRUE(written) << style.name << ": " << (message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    if (!written) {
        return {};
    }
    WritePages(folder);
    return path;
}

}  // namespace quillory::testing
