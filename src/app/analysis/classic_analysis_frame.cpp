#include "analysis/classic_analysis_frame.h"

#include <QPixmap>
#include <QScopedValueRollback>
#include <vector>

#include "core/analysis/classic_analysis.h"
#include "core/analysis/classic_analysis_tree.h"
#include "widgets/bank_session.h"
#include "widgets/progress_wnd.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

// Every item shows the first cells of the analysis strip.
constexpr int kImage = 0;
constexpr int kSelectedImage = 1;

}  // namespace

CClassicAnalysisFrame::CClassicAnalysisFrame(CBankSession& bank, QWidget* owner)
    : CQuilloryFrame(bank, FrameResource::ClassicAnalysis, owner) {
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_analysis.png")));
}

void CClassicAnalysisFrame::LoadTree() {
    CQuilloryFrame::ResetTree();
    links_.clear();
    const std::optional<std::vector<quillory::ClassicAnalysisItem>> items =
        quillory::LoadClassicAnalysisTree(bank_.Store());
    if (!items) {
        return;
    }
    std::vector<CTreeViewExt::NewItem> treeItems;
    treeItems.reserve(items->size());
    for (const quillory::ClassicAnalysisItem& item : *items) {
        treeItems.push_back({item.node.id, item.node.superiorId,
                             QString::fromStdString(item.node.title), kImage, kSelectedImage});
        Nodes().Add(item.node);
        links_[item.node.id] = item.link;
    }
    TreeView()->FillItems(treeItems);
    SetLoaded(true);
    // The reference papers are the frame's content: show them at once.
    TreeView()->ExpandItem(TreeView()->topLevelItem(0), false);
    TreeView()->SelectItem(TreeView()->topLevelItem(0));
}

void CClassicAnalysisFrame::OnTreeSelect(int itemId) {
    CQuilloryFrame::OnTreeSelect(itemId);
    if (building_) {
        return;
    }
    const QScopedValueRollback<bool> building(building_, true);
    const auto found = links_.find(itemId);
    if (found != links_.end()) {
        ContentView()->Navigate(QString::fromStdString(found->second));
    }
}

void CClassicAnalysisFrame::BuildClassicAnalysis() {
    const QScopedValueRollback<bool> building(building_, true);
    quillory::PageContext context = ContentView()->PageContext();
    quillory::BuildClassicAnalysis(
        context, quillory::ClassicPageVariant::Command, [this](const std::string& caption) {
            return OpenBuildProgress(parentWidget(), bank_.Settings(), caption);
        });
}
