#include "core/practice/paper_tree.h"

#include <deque>
#include <filesystem>
#include <vector>

#include "core/common/local_path.h"
#include "core/common/text.h"
#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "core/pages/composed_target.h"
#include "core/practice/paper_table.h"
#include "core/store/data_store.h"

namespace quillory {

PaperNodeKind KindOf(const PaperNode& node) {
    if (node.questionId != 0) {
        return PaperNodeKind::QuestionItem;
    }
    return node.superiorId == 0 ? PaperNodeKind::Paper : PaperNodeKind::Section;
}

namespace {

bool PaperWanted(const PaperRowValues& flags, PaperFilter filter) {
    switch (filter) {
        case PaperFilter::Classic:
            return !flags.isSystem;
        case PaperFilter::Practice:
            return flags.isSystem;
        case PaperFilter::Reference:
            return flags.isReference;
        case PaperFilter::All:
            break;
    }
    return true;
}

}  // namespace

std::optional<PaperNodeList> LoadPaperTreeRows(DataStore& store, int rootId, PaperFilter filter) {
    const std::optional<PaperTable> table = ReadPaperTable(store);
    if (!table) {
        return std::nullopt;
    }
    PaperNodeList working = rootId == -1 ? table->nodes : table->Subtree(rootId);
    if (rootId == -1) {
        working.Order();
    }

    PaperNodeList included;
    bool including = false;
    int rootParent = 0;
    for (const PaperNode& node : working.Nodes()) {
        if (rootId == -1) {
            if (node.superiorId == 0) {
                including = PaperWanted(table->values.at(node.id), filter);
            }
        } else if (node.id == rootId) {
            including = true;
            rootParent = node.superiorId;
        } else if (including && node.superiorId == rootParent) {
            including = false;
        }
        if (including) {
            included.Add(node);
        }
    }
    return included;
}

Status DeletePaperTree(DataStore& store, Settings& settings, const std::string& dataFolder,
                       const PaperNodeList& nodes, int nodeId) {
    std::vector<std::string> pages;
    {
        Transaction transaction(store);
        if (!transaction.Active()) {
            return store.LastFailure();
        }
        // Breadth-first: the paper, then its sections and items level by level.
        std::deque<int> queue{nodeId};
        while (!queue.empty()) {
            const int id = queue.front();
            queue.pop_front();
            for (const PaperNode& node : nodes.Nodes()) {
                if (node.superiorId == id) {
                    queue.push_back(node.id);
                }
            }
            auto rows = store.Query(Format("select * from Paper where ID=%d", id));
            if (!rows) {
                return store.LastFailure();
            }
            if (rows->AtEnd()) {
                return {ErrorCode::NotFound, Format("paper row %d does not exist", id)};
            }
            const std::string url = rows->Text("Url");
            rows.reset();
            if (!store.Execute(Format("delete from History where PaperItemID=%d", id)) ||
                !store.Execute(Format("delete from Paper where ID=%d", id))) {
                return store.LastFailure();
            }
            const PageLocation page = ResolveLocation(dataFolder, url);
            if (page.kind == LocationKind::Local) {
                pages.push_back(page.path);
            }
        }
        if (!transaction.Commit()) {
            return store.LastFailure();
        }
    }
    // A page that another row still shows stays.
    for (const std::string& page : pages) {
        if (IsNamedByATable(store, dataFolder, page) == std::optional<bool>(false)) {
            std::error_code ec;
            std::filesystem::remove(page, ec);
        }
    }
    settings.WriteInt(setting::kSection, setting::kHistoryModified, 1);
    return {};
}

}  // namespace quillory
