// The history module's tree: the exam days and, under each, the exam records
// of that day with their score rates; and the deletion of what an item
// covers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/common/paper_node_list.h"
#include "core/common/result.h"

namespace quillory {

class DataStore;
class Settings;

inline constexpr int kHistoryRootId = 810000;
inline constexpr int kMistakesItemId = 809999;

enum class HistoryItemKind { Root, Day, Record, Mistakes };

struct HistoryTreeItem {
    HistoryItemKind kind = HistoryItemKind::Root;
    PaperNode node;    // a record's historyId is its first History row
    std::string link;  // what selecting the item shows; empty: nothing
};

// The root "用户历史分析", then for each day in date order its item and its
// records (rows of one date and time), IDs from 810001 in that order; each
// title ends with "(得分率:%.1f%%)" over the rows it covers, "(得分率:-)" when
// their full marks add up to 0; last, beside the root, "错题本", the mistake
// notebook (kMistakesItemId). Nothing on a database error.
std::optional<std::vector<HistoryTreeItem>> LoadHistoryTree(DataStore& store);

// Deletes the exam records of the items under itemId (all of them for the
// root, a day's for a day), each as the rows of its first row's paper, date
// and time, in one transaction: all or nothing. A record already gone counts
// as deleted. On success "HistoryModified" is set; else the engine's reason.
Status DeleteHistoryItems(DataStore& store, Settings& settings, const PaperNodeList& nodes,
                          int itemId);

}  // namespace quillory
