// The statements of the program are written in the Jet dialect; these
// functions turn them into SQLite and quote values for them.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Translates one Jet statement to SQLite:
//  - like '*x*' patterns: "*" and "?" become "%" and "_", a literal "%" or "_"
//    is escaped, and the comparison gets ESCAPE '\';
//  - #2024-05-01# date and time literals become text literals;
//  - the words true and false become 1 and 0;
//  - "delete * from" becomes "delete from";
//  - a sort key of "order by" that is a column named Title (alone or after
//    a table name) gets "COLLATE GB2312".
// Text inside quotes is left alone except for like patterns.
std::string TranslateJetSql(std::string_view jet);

// A value made safe to stand between single quotes in a statement ('%s'):
// every single quote is doubled.
std::string SqlQuote(std::string_view value);

}  // namespace quillory
