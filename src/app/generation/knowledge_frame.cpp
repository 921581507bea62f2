#include "generation/knowledge_frame.h"

#include <QPixmap>

#include "core/common/internal_link.h"
#include "core/common/paper_node_list.h"
#include "core/store/tables.h"
#include "frame/frame_commands.h"
#include "frame/quillory_view.h"
#include "frame/tree_view_ext.h"
#include "shell/quillory_app.h"

namespace {

constexpr int kPointImage = 0;
constexpr int kSelectedPointImage = 1;

}  // namespace

CKnowledgeFrame::CKnowledgeFrame(CQuilloryApp& app, QWidget* owner)
    : CQuilloryFrame(app, FrameResource::Knowledge, owner) {
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_knowledge.png")));
    UpdateCommandStates();
}

void CKnowledgeFrame::LoadTree() {
    if (!app_.HasStore()) {
        return;
    }
    const auto rows = quillory::ReadKnowledgeRows(app_.Store());
    if (!rows) {
        return;
    }
    quillory::PaperNodeList points;
    for (const quillory::KnowledgeRow& row : *rows) {
        points.Add({row.ID, row.SuperiorID, row.Title, 0});
    }
    points.Order();
    // The node list stays empty: it is the paper modules' list.
    ResetTree();
    for (const quillory::PaperNode& point : points.Nodes()) {
        TreeView()->InsertItemById(point.id, point.superiorId, QString::fromStdString(point.title),
                                   kPointImage, kSelectedPointImage);
    }
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
    // Targeted practice needs a point to practise.
    EnableCommand(kCmdTargeted, CurrentItemId() != -1);
}
