#include "analysis/history_analysis_frame.h"

#include <QAction>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QThread>
#include <QUrl>
#include <utility>
#include <vector>

#include "core/analysis/history_summary.h"
#include "core/analysis/history_tree.h"
#include "core/host/host.h"
#include "core/host/no_progress.h"
#include "core/host/setting_names.h"
#include "frame/frame_commands.h"
#include "widgets/bank_session.h"
#include "widgets/error_text.h"
#include "widgets/message_box.h"
#include "widgets/qt_clock.h"
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

CHistoryAnalysisFrame::~CHistoryAnalysisFrame() {
    if (summaryBuild_ != nullptr) {
        // Its end is not told: HistoryModified stays as the build left it,
        // so the next start builds the summary again.
        summaryBuild_->disconnect(this);
        summaryBuild_->wait();
        delete summaryBuild_;
    }
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
    if (itemId == quillory::kHistoryRootId) {
        ShowSummary();
        return;
    }
    const auto found = links_.find(itemId);
    if (found != links_.end() && !found->second.empty()) {
        ContentView()->Navigate(QString::fromStdString(found->second));
    }
}

void CHistoryAnalysisFrame::ShowSummary() {
    const QString path =
        QString::fromStdString(quillory::HistorySummaryPath(bank_.DataFolder().toStdString()));
    const quillory::DateTime now = CQtClock().Now();
    if (summaryBuild_ == nullptr &&
        quillory::MayReuseHistorySummary(&bank_.Settings(), path.toStdString(), now)) {
        ContentView()->Navigate(path);
        return;
    }
    // The page's folder as the note's address keeps it with the pages, in
    // their renderer.
    ContentView()->setHtml(QStringLiteral("<html><body><p>正在生成用户历史分析汇总，请稍候……"
                                          "</p></body></html>"),
                           QUrl::fromLocalFile(path));
    if (summaryBuild_ != nullptr) {
        return;
    }
    bank_.Settings().WriteInt(quillory::setting::kSection, quillory::setting::kHistoryModified,
                              quillory::setting::kHistorySummaryBuilding);
    auto messages = std::make_shared<quillory::KeptMessages>();
    auto built = std::make_shared<bool>(false);
    summaryMessages_ = messages;
    summaryBuild_ = QThread::create([file = bank_.Store().Path(),
                                     folder = bank_.DataFolder().toStdString(), now, messages,
                                     built] {
        quillory::Result<std::unique_ptr<quillory::DataStore>> store =
            quillory::DataStore::OpenReadOnly(file);
        if (!store) {
            messages->Message(ErrorText(store.error()).toStdString(), quillory::MessageIcon::Error);
            return;
        }
        quillory::PageContext context{**store, folder, *messages};
        quillory::NoProgress progress;
        *built = quillory::ComposeHistorySummary(context, now, progress);
    });
    connect(summaryBuild_, &QThread::finished, this,
            [this, built, now] { OnSummaryBuilt(*built, now); });
    summaryBuild_->start(QThread::LowPriority);
}

void CHistoryAnalysisFrame::OnSummaryBuilt(bool built, const quillory::DateTime& now) {
    summaryBuild_->deleteLater();
    summaryBuild_ = nullptr;
    for (const quillory::KeptMessage& message : summaryMessages_->messages) {
        ContentView()->Host().Message(message.text, message.icon);
    }
    summaryMessages_.reset();
    quillory::Settings& settings = bank_.Settings();
    const bool unchanged =
        settings.ReadInt(quillory::setting::kSection, quillory::setting::kHistoryModified, 1) ==
        quillory::setting::kHistorySummaryBuilding;
    if (!built) {
        if (unchanged) {
            settings.WriteInt(quillory::setting::kSection, quillory::setting::kHistoryModified, 1);
        }
        return;
    }
    const QString path =
        QString::fromStdString(quillory::HistorySummaryPath(bank_.DataFolder().toStdString()));
    ContentView()->AddGeneratedFile(path);
    if (unchanged) {
        quillory::RecordHistorySummaryBuilt(settings, now);
    }
    // The learner may have gone on to a record meanwhile. A history changed
    // meanwhile needs its tree and summary anew: at once when the summary
    // is waited for, else when the frame is shown again.
    if (CurrentItemId() != quillory::kHistoryRootId) {
        return;
    }
    if (unchanged) {
        ContentView()->Navigate(path);
    } else if (isVisible()) {
        LoadTree();
    }
}

void CHistoryAnalysisFrame::showEvent(QShowEvent* event) {
    CQuilloryFrame::showEvent(event);
    const int modified = bank_.Settings().ReadInt(quillory::setting::kSection,
                                                  quillory::setting::kHistoryModified, 1);
    // A summary being built is of the history the tree shows.
    if (modified != 0 && modified != quillory::setting::kHistorySummaryBuilding) {
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
