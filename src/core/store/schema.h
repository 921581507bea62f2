// The seven tables of a data file.
#pragma once

namespace quillory {

// Name of the collation that orders text by its GB2312 bytes; every sorted
// title column is declared with it.
inline constexpr char kGbCollation[] = "GB2312";

inline constexpr const char* kTableNames[] = {
    "Paper", "Question", "QuestionType", "Knowledge", "History", "PaperTemplate", "ConfigProduct"};

// The format of the data files this program writes, kept in SQLite's
// user_version. A file at version 0 was made by another tool in the format
// of version 1.
inline constexpr int kSchemaVersion = 1;

// The statements that lay out an empty data file with its one ConfigProduct
// row. ID is the integer primary key, so a select without "order by" returns
// rows in ascending ID, as the rules of the program expect.
extern const char* const kSchemaSql;

}  // namespace quillory
