#include "analysis/history_analysis_frame.h"

#include <QAction>
#include <QPixmap>
#include <QScopedValueRollback>
#include <utility>
#include <vector>

#include "core/analysis/history_tree.h"
#include "core/host/host.h"
#include "core/host/setting_names.h"
#include "frame/frame_commands.h"
#include "widgets/bank_session.h"
#include "widgets/message_box.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

// Cells of the tree strip, each kind with the image it shows selected.
struct Images {
    int normal;
    int selected;
};

Images ImagesOf(quillory::HistoryItemKind kind) {
    switch (kind) {
        case quillory::HistoryItemKind::Root:
            return {0, 1};
        case quillory::HistoryItemKind::Day:
            return {2, 2};
        case quillory::HistoryItemKind::Record:
            return {3, 4};
        case quillory::HistoryItemKind::Mistakes:
            return {5, 6};
    }
    return {0, 1};
}

}  // namespace

CHistoryAnalysisFrame::CHistoryAnalysisFrame(CBankSession& bank, QWidget* owner)
    : CQuilloryFrame(bank, FrameResource::History, owner) {
    // Root 0/1, day 2, record 3/4 (shared with the classic analysis tree).
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_analysis.png")));
    if (QAction* action = Command(kCmdDelete)) {
        connect(action, &QAction::triggered, this, &CHistoryAnalysisFrame::DeleteRecords);
    }
    if (QAction* action = Command(kCmdReview)) {
        connect(action, &QAction::triggered, this, &CHistoryAnalysisFrame::Review);
    }
    if (QAction* action = Command(kCmdRedoMistakes)) {
        connect(action, &QAction::triggered, this, [this] { emit redoMistakesRequested(0); });
    }
    UpdateCommandStates();
}

void CHistoryAnalysisFrame::LoadTree() {
    CQuilloryFrame::ResetTree();
    links_.clear();
    std::optional<std::vector<quillory::HistoryTreeItem>> items =
        quillory::LoadHistoryTree(bank_.Store());
    if (!items) {
        return;
    }
    std::vector<CTreeViewExt::NewItem> treeItems;
    treeItems.reserve(items->size());
    links_.reserve(items->size());
    for (quillory::HistoryTreeItem& item : *items) {
        const Images images = ImagesOf(item.kind);
        treeItems.push_back({item.node.id, item.node.superiorId,
                             QString::fromStdString(item.node.title), images.normal,
                             images.selected});
        Nodes().Add(item.node);
        links_[item.node.id] = std::move(item.link);
    }
    TreeView()->FillItems(treeItems);
    SetLoaded(true);
    // The days are what the learner looks for: show them at once.
    TreeView()->ExpandItemById(quillory::kHistoryRootId, false);
    TreeView()->SelectItemById(quillory::kHistoryRootId);
}

void CHistoryAnalysisFrame::OnTreeSelect(int itemId) {
    CQuilloryFrame::OnTreeSelect(itemId);
    if (building_) {
        return;
    }
    const QScopedValueRollback<bool> building(building_, true);
    const auto found = links_.find(itemId);
    if (found != links_.end() && !found->second.empty()) {
        ContentView()->Navigate(QString::fromStdString(found->second));
    }
}

void CHistoryAnalysisFrame::showEvent(QShowEvent* event) {
    CQuilloryFrame::showEvent(event);
    if (bank_.Settings().ReadInt(quillory::setting::kSection, quillory::setting::kHistoryModified,
                                 1) != 0) {
        // Selecting the new root shows the summary.
        LoadTree();
    }
}

int CHistoryAnalysisFrame::CurrentHistoryId() {
    const int index = Nodes().IndexOf(CurrentItemId());
    return index < 0 ? 0 : Nodes()[static_cast<size_t>(index)].historyId;
}

void CHistoryAnalysisFrame::UpdateCommandStates() {
    CQuilloryFrame::UpdateCommandStates();
    // The notebook holds no record of its own to delete.
    EnableCommand(kCmdDelete,
                  CurrentItemId() != -1 && CurrentItemId() != quillory::kMistakesItemId);
    // Only a record item can be reviewed.
    EnableCommand(kCmdReview, CurrentHistoryId() != 0);
}

void CHistoryAnalysisFrame::DeleteRecords() {
    if (CurrentItemId() == -1 || CurrentItemId() == quillory::kMistakesItemId) {
        return;
    }
    const int index = Nodes().IndexOf(CurrentItemId());
    if (index < 0) {
        ShowMessageBox(this, QStringLiteral("无法删除历史纪录！"), QMessageBox::Critical);
        return;
    }
    const QString title = QString::fromStdString(Nodes()[static_cast<size_t>(index)].title);
    if (ShowMessageBox(
            this, QStringLiteral("确定要删除用户历史纪录\"") + title + QStringLiteral("\"吗？"),
            QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    if (!quillory::DeleteHistoryItems(bank_.Store(), bank_.Settings(), Nodes(), CurrentItemId())
             .ok()) {
        // Nothing was deleted: the tree still shows the history as it is.
        ShowMessageBox(this, QStringLiteral("无法删除历史纪录！"), QMessageBox::Critical);
        return;
    }
    LoadTree();
}

void CHistoryAnalysisFrame::Review() {
    if (const int historyId = CurrentHistoryId(); historyId != 0) {
        emit reviewExamRequested(this, historyId);
    }
}
