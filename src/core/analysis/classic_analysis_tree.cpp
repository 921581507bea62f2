#include "core/analysis/classic_analysis_tree.h"

#include "core/common/internal_link.h"
#include "core/store/data_store.h"

namespace quillory {

std::optional<std::vector<ClassicAnalysisItem>> LoadClassicAnalysisTree(DataStore& store) {
    auto rows = store.Query("select ID, title from Paper where IsReference=TRUE");
    if (!rows) {
        return std::nullopt;
    }
    std::vector<ClassicAnalysisItem> items;
    items.push_back({{kClassicAnalysisRootId, 0, "经典试卷汇总分析"},
                     std::string(kLinkPrefix) + "ClassicAnalysis:000000"});
    int nextId = kClassicAnalysisRootId + 1;
    for (; !rows->AtEnd(); rows->Next()) {
        const int paperId = rows->Int("ID");
        items.push_back({{.id = nextId++,
                          .superiorId = kClassicAnalysisRootId,
                          .title = rows->Text("Title"),
                          .referencePaperId = paperId},
                         MakeLink(LinkKind::ClassicAnalysis, paperId)});
    }
    if (rows->Failed()) {
        return std::nullopt;
    }
    return items;
}

}  // namespace quillory
