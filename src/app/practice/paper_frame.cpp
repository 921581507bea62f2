#include "practice/paper_frame.h"

#include <QPixmap>

#include "frame/frame_commands.h"
#include "frame/tree_view_ext.h"

CPaperFrame::CPaperFrame(CQuilloryApp& app, int resourceId, int filter, QWidget* owner)
    : CQuilloryFrame(app, resourceId, owner), filter_(filter) {
    // Paper 0/1, section 2/3, question item 4/5; judged items 6 to 8.
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_paper.png")));
    UpdateCommandStates();
}

void CPaperFrame::UpdateCommandStates() {
    CQuilloryFrame::UpdateCommandStates();
    const int index = Nodes().IndexOf(CurrentItemId());
    EnableCommand(kCmdStartExam, CurrentItemId() != -1);
    EnableCommand(kCmdPrint, index >= 0);
    // Only a whole paper can be deleted, never a section or a question.
    EnableCommand(kCmdDelete, index >= 0 && Nodes()[static_cast<size_t>(index)].superiorId == 0);
}
