#include "generation/knowledge_frame.h"

#include <QAction>
#include <QPixmap>
#include <vector>

#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/generation/targeted_choices.h"
#include "core/store/tables.h"
#include "frame/export_questions.h"
#include "frame/frame_commands.h"
#include "generation/knowledge_create_paper_dlg.h"
#include "widgets/bank_session.h"
#include "widgets/qt_clock.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

constexpr int kPointImage = 0;
constexpr int kSelectedPointImage = 1;

}  // namespace

CKnowledgeFrame::CKnowledgeFrame(CBankSession& bank, QWidget* owner)
    : CQuilloryFrame(bank, FrameResource::Knowledge, owner) {
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_knowledge.png")));
    if (QAction* action = Command(kCmdTargeted)) {
        connect(action, &QAction::triggered, this, &CKnowledgeFrame::TargetedPractice);
    }
    if (QAction* action = Command(kCmdMistakes)) {
        connect(action, &QAction::triggered, this, [this] {
            ContentView()->Navigate(
                QString::fromStdString(quillory::MakeMistakesLink(CurrentItemId(), 0)));
        });
    }
    if (QAction* action = Command(kCmdRedoMistakes)) {
        connect(action, &QAction::triggered, this,
                [this] { emit redoMistakesRequested(CurrentItemId()); });
    }
    if (QAction* action = Command(kCmdExportQuestions)) {
        connect(action, &QAction::triggered, this, [this] {
            const int index = points_.IndexOf(CurrentItemId());
            if (index >= 0) {
                ExportQuestionsOf(
                    this, bank_, {quillory::QuestionScope::Knowledge, CurrentItemId()},
                    QString::fromStdString(points_[static_cast<size_t>(index)].title));
            }
        });
    }
    UpdateCommandStates();
}

void CKnowledgeFrame::LoadTree() {
    const auto rows = quillory::ReadKnowledgeRows(bank_.Store());
    if (!rows) {
        return;
    }
    quillory::PaperNodeList points;
    for (const quillory::KnowledgeRow& row : *rows) {
        points.Add({row.ID, row.SuperiorID, row.Title});
    }
    points.Order();
    // The node list stays empty: it is the paper modules' list.
    ResetTree();
    points_ = std::move(points);
    std::vector<CTreeViewExt::NewItem> items;
    items.reserve(points_.Size());
    for (const quillory::PaperNode& point : points_.Nodes()) {
        items.push_back({point.id, point.superiorId, QString::fromStdString(point.title),
                         kPointImage, kSelectedPointImage});
    }
    TreeView()->FillItems(items);
    TreeView()->SelectItem(TreeView()->topLevelItem(0));
    SetLoaded(true);
}

void CKnowledgeFrame::OnTreeSelect(int itemId) {
    CQuilloryFrame::OnTreeSelect(itemId);
    ContentView()->Navigate(
        QString::fromStdString(quillory::MakeLink(quillory::LinkKind::Knowledge, itemId)));
}

void CKnowledgeFrame::UpdateCommandStates() {
    CQuilloryFrame::UpdateCommandStates();
    // Targeted practice, the point's mistakes and the export need a point.
    for (const int command : {kCmdTargeted, kCmdMistakes, kCmdRedoMistakes, kCmdExportQuestions}) {
        EnableCommand(command, CurrentItemId() != -1);
    }
}

void CKnowledgeFrame::TargetedPractice() {
    const int pointId = CurrentItemId();
    const QTreeWidgetItem* node = TreeView()->FindItemById(pointId);
    if (pointId == -1 || node == nullptr) {
        return;
    }
    const quillory::DateTime now = CQtClock().Now();
    const QString title =
        node->text(0) + QString::fromStdString(quillory::Format(" %s %02d-%02d-%02d",
                                                                quillory::FormatDate(now).c_str(),
                                                                now.hour, now.minute, now.second));
    CKnowledgeCreatePaperDlg dialog(bank_.Store(), bank_.Settings(), title,
                                    quillory::KnowledgeSetBelow(points_, pointId), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The score of each question is a whole number.
    quillory::TargetedPaperRequest request;
    request.typeId = dialog.TypeId();
    request.knowledgeSet = dialog.KnowledgeSet();
    request.title = dialog.Title();
    request.count = dialog.Count();
    request.score = static_cast<int>(dialog.Score());
    request.settings.adjust = dialog.Adjust();
    request.settings.period = dialog.Period();
    emit targetedPaperRequested(request);
}
