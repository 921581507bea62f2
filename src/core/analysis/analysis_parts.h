// Pieces every analysis page is made of: the knowledge IDs of an ID list,
// the titles of the types and points a page names, and its markup.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillory {

class DataStore;
class PaperNodeList;
struct KnowledgeRow;

// The knowledge points in tree order, each node's row its position in rows.
PaperNodeList KnowledgeTree(const std::vector<KnowledgeRow>& rows);

// A piece of an ID list names a knowledge point when it has six characters
// or more and a number that is not 0.
std::optional<int> KnowledgeIdOf(const std::string& piece);

struct Titled {
    int id = 0;
    std::string title;
};

// "1,2,3": the IDs for a statement's "ID in (…)".
std::string IdList(const std::vector<int>& ids);

const Titled* FindTitled(const std::vector<Titled>& table, int id);

// The IDs that still have a row in the table, with their titles, in one
// statement; nothing on a database error.
std::optional<std::vector<Titled>> WithTitles(DataStore& store, const char* table,
                                              const std::vector<int>& ids);

// A question's link labelled label (the label alone when it has no page),
// then its answer's link "答案" ("(答案)" when it has no answer page).
std::string QuestionAndAnswerLinks(int questionId, bool hasPage, bool hasAnswerPage,
                                   const std::string& label);

// "<p align="center"><font size="5" color="#FF0000"><b>" text "</b></font></p>".
std::string PageHeading(std::string_view text);
// The page's table, width as given ("800", "950").
std::string TableStart(std::string_view width);
// A header cell: its start, the caption in bold, its end.
std::string HeaderCell(const char* start, std::string_view caption);
// The start of a row whose first cell indents its item by depth − 1 steps,
// up to the item's own cell.
std::string ItemCellStart(std::string_view width, int depth);
inline constexpr char kItemCellEnd[] = "</td>\n</tr>\n</table>\n</td>\n";

}  // namespace quillory
