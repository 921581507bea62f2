#include "core/analysis/history_tree.h"

#include "core/common/internal_link.h"
#include "core/common/score_format.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "core/store/data_store.h"
#include "core/store/date_time.h"

namespace quillory {

namespace {

// The figures of the rows an item covers, in single precision as the scores.
struct Sums {
    float fullMarks = 0.0f;
    float score = 0.0f;
};

std::string RateSuffix(const Sums& sums) {
    return "(得分率:" + FormatRate(sums.score, sums.fullMarks) + ")";
}

}  // namespace

std::optional<std::vector<HistoryTreeItem>> LoadHistoryTree(DataStore& store) {
    // Only the columns the items show: each row also holds answers and
    // notes the tree never reads.
    auto rows = store.Query(
        "select ID, RecordDate, RecordTime, PaperTitle, TotalScore, UserScore from History "
        "order by RecordDate, RecordTime, ID");
    if (!rows) {
        return std::nullopt;
    }
    std::vector<HistoryTreeItem> items;
    items.push_back({HistoryItemKind::Root,
                     {kHistoryRootId, 0, "用户历史分析"},
                     std::string(kLinkPrefix) + "HistoryAnalysis:000000"});
    int nextId = kHistoryRootId + 1;
    size_t day = 0;
    size_t record = 0;
    Sums daySums;
    Sums recordSums;
    DateTime date;
    DateTime time;
    const auto finishRecord = [&] {
        if (record != 0) {
            items[record].node.title += RateSuffix(recordSums);
        }
    };
    const auto finishDay = [&] {
        finishRecord();
        if (day != 0) {
            items[day].node.title += RateSuffix(daySums);
        }
    };
    for (; !rows->AtEnd(); rows->Next()) {
        const DateTime rowDate = rows->Date("RecordDate");
        const DateTime rowTime = rows->Date("RecordTime");
        const Sums row{rows->Single("TotalScore"), rows->Single("UserScore")};
        const bool newDay = day == 0 || rowDate != date;
        if (!newDay && rowTime == time) {
            recordSums.fullMarks += row.fullMarks;
            recordSums.score += row.score;
            daySums.fullMarks += row.fullMarks;
            daySums.score += row.score;
            continue;
        }
        if (newDay) {
            finishDay();
            day = items.size();
            items.push_back(
                {HistoryItemKind::Day, {nextId++, kHistoryRootId, FormatDate(rowDate)}, {}});
            daySums = row;
        } else {
            finishRecord();
            daySums.fullMarks += row.fullMarks;
            daySums.score += row.score;
        }
        record = items.size();
        const int historyId = rows->Int("ID");
        items.push_back({HistoryItemKind::Record,
                         {.id = nextId++,
                          .superiorId = items[day].node.id,
                          .title = "(" + FormatTime(rowTime) + ")" + rows->Text("PaperTitle"),
                          .historyId = historyId},
                         MakeLink(LinkKind::HistoryAnalysis, historyId)});
        recordSums = row;
        date = rowDate;
        time = rowTime;
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    finishDay();
    items.push_back(
        {HistoryItemKind::Mistakes, {kMistakesItemId, 0, "错题本"}, MakeMistakesLink(0, 0)});
    return items;
}

Status DeleteHistoryItems(DataStore& store, Settings& settings, const PaperNodeList& nodes,
                          int itemId) {
    {
        Transaction transaction(store);
        if (!transaction.Active()) {
            return store.LastFailure();
        }
        for (const PaperNode& node : nodes.Nodes()) {
            if (node.historyId == 0 || !nodes.IsUnder(node.id, itemId)) {
                continue;
            }
            auto rows = store.Query(Format("select * from History where ID=%d", node.historyId));
            if (!rows) {
                return store.LastFailure();
            }
            if (rows->AtEnd()) {
                continue;
            }
            const std::string sql = Format(
                "delete * from History where PaperID=%d and RecordDate=#%s# and "
                "RecordTime=#%s#",
                rows->Int("PaperID"), FormatDate(rows->Date("RecordDate")).c_str(),
                FormatTime(rows->Date("RecordTime")).c_str());
            rows.reset();
            if (!store.Execute(sql)) {
                return store.LastFailure();
            }
        }
        if (!transaction.Commit()) {
            return store.LastFailure();
        }
    }
    settings.WriteInt(setting::kSection, setting::kHistoryModified, 1);
    return {};
}

}  // namespace quillory
