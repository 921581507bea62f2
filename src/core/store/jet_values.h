// Values that banks store in more than one way. Jet writes a yes/no true as
// -1, other tools 1, any non-zero number or a word; a date may carry a time
// part ("2026-03-01 00:00:00"), and a time Jet's day zero ("1899-12-30
// 09:26:53"). Every form reads the same in a typed read and in a statement
// that compares the column with true, false or a #date#.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quillory {

// The SQL functions statements compare such columns through.
inline constexpr char kJetTrueFunction[] = "jet_true";
inline constexpr char kJetDateFunction[] = "jet_date";

// Whether a column of the statement's current row holds true: a non-zero
// number, a text that reads as one, or the words true, yes and on in any
// case; false for NULL and anything else.
bool IsJetTrue(sqlite3_stmt* statement, int column);

// A date, a time or both as "YYYY-MM-DD HH:MM:SS", a time alone on Jet's day
// zero and a date alone at midnight, so that equal moments compare equal and
// in order; a text that is no date comes back as it is.
std::string JetDateText(std::string_view text);

// Makes jet_true(x) (1 or 0) and jet_date(x) known to the connection.
void RegisterJetFunctions(sqlite3* db);

}  // namespace quillory
