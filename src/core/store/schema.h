// The seven tables of a data file.
#pragma once

#include <iterator>

namespace quillory {

// Name of the collation that orders text by its GB2312 bytes; every sorted
// title column is declared with it.
inline constexpr char kGbCollation[] = "GB2312";

inline constexpr const char* kTableNames[] = {
    "Paper", "Question", "QuestionType", "Knowledge", "History", "PaperTemplate", "ConfigProduct"};

// The columns the program reads, table by table in the order of kTableNames,
// each list joined by ",". A missing one would read as empty everywhere, so a
// file lacking any of them is no data file; columns beyond them are left alone.
// Banks made by other tools hold no more than these: ConfigProduct needs no
// key of its own, and PaperTemplate.ScoreMin, which nothing uses, may be
// missing.
inline constexpr const char* kReadColumns[] = {
    "ID,SuperiorID,QuestionID,Score,TimeLimit,Title,Url,IsQuestion,IsReference,IsSystem",
    "ID,TypeID,Level,Url,Answer,AnswerUrl,Knowledge,KeyWord,GroupID",
    "ID,Title",
    "ID,SuperiorID,Title,Url,KeyWord,Weight",
    "ID,RecordDate,RecordTime,PaperID,PaperTitle,PaperItemID,PaperItemTitle,QuestionID,"
    "QuestionTypeID,KnowledgeID,Url,AnswerUrl,TotalScore,UserScore,UserAnswer,UserMemo",
    "ID,SuperiorID,Title,IsQuestion,TimeLimit,ScoreMax,QuestionID,QuestionTypeID,KnowledgeID,Url",
    "LastVerFile"};
static_assert(std::size(kReadColumns) == std::size(kTableNames));

// The format of the data files this program writes, kept in SQLite's
// user_version. A file at version 0 was made by another tool in the format
// of version 1; version 2 adds ImportedSource.
inline constexpr int kSchemaVersion = 2;

// The statements that lay out the seven tables of an empty data file with
// its one ConfigProduct row. ID is the integer primary key, so a select
// without "order by" returns rows in ascending ID, as the rules of the
// program expect.
extern const char* const kSchemaSql;

// A table of our own beside the seven: where each imported question came
// from (the paper its file made and its key in that file), so that importing
// the file again finds the question. One statement each; a new file and the
// upgrade to version 2 run them.
extern const char* const kImportedSourceStatements[2];

}  // namespace quillory
