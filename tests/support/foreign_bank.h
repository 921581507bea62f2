// Banks as other tools write them: the tables made with plain SQL (never our
// template), only the columns the program reads, no collation, no format
// version, yes/no and dates in the forms those tools store, pages in GB2312.
// Each style is one way of writing the same small bank:
//
//   Knowledge  301000 第1章 河流 > 301100 1.1 长江, 301200 1.2 黄河 (pages)
//   Types      900001 单项选择题, 900002 多项选择题
//   Questions  200001 radio A (301100), 200002 radio B (301200),
//              200003 check A B D (301100,301200), 200004 radio C (301100)
//   Paper      100000 真题一 (reference, page) > 100100 第一部分 >
//              100101..100104 第1题..第4题, 2 marks each, questions 200001..4
//   Template   400000 练习模版 (10 marks, page) > 400100 选择题 (8, page) >
//              slots 1 and 2 of type 900001, 4 marks each
//   History    one exam on 100000 at the style's date and time: 100101 right
//              (2 of 2), 100102 wrong (0 of 2)
#pragma once

#include <string>

namespace quillory::testing {

struct ForeignBankStyle {
    const char* name;
    bool jetTypes;     // columns declared in the old engine's types (long, bit, ...)
    const char* yes;   // how a yes/no column holds true on question rows
    const char* flag;  // and on IsReference, a template slot's IsQuestion
    const char* no;    // how it holds false
    const char* date;  // RecordDate of the exam record
    const char* time;  // RecordTime
    bool hasScoreMin;  // PaperTemplate.ScoreMin, which nothing uses
};

inline constexpr ForeignBankStyle kForeignBankStyles[] = {
    {"JetConverted", true, "-1", "-1", "0", "2026-03-01 00:00:00", "1899-12-30 09:26:53", true},
    {"HandWritten", false, "1", "7", "0", "2026-03-01", "09:26:53", false},
    {"WordsAndIsoDates", false, "'True'", "' yes '", "'False'", "2026-03-01T00:00:00",
     "09:26:53.000", true},
};

inline constexpr int kForeignReferencePaper = 100000;
inline constexpr int kForeignTemplate = 400000;
inline constexpr int kForeignRecordId = 700001;

// Writes the bank in style into folder (the data file "foreign.qly" and its
// page folders) and returns the data file's path; empty, with a test failure,
// when it cannot be written.
std::string MakeForeignBank(const std::string& folder, const ForeignBankStyle& style);

}  // namespace quillory::testing
