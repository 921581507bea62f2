#include "analysis/history_analysis_frame.h"

#include <QPixmap>

#include "frame/frame_commands.h"
#include "frame/tree_view_ext.h"

CHistoryAnalysisFrame::CHistoryAnalysisFrame(CQuilloryApp& app, QWidget* owner)
    : CQuilloryFrame(app, FrameResource::History, owner) {
    // Root 0/1, day 2, record 3/4 (shared with the classic analysis tree).
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_analysis.png")));
    UpdateCommandStates();
}

void CHistoryAnalysisFrame::UpdateCommandStates() {
    CQuilloryFrame::UpdateCommandStates();
    EnableCommand(kCmdDelete, CurrentItemId() != -1);
    // Only a record item (its tag is the record's first History ID) can be reviewed.
    const int index = Nodes().IndexOf(CurrentItemId());
    EnableCommand(kCmdReview, index >= 0 && Nodes()[static_cast<size_t>(index)].tag != 0);
}
