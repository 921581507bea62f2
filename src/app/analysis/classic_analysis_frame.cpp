#include "analysis/classic_analysis_frame.h"

#include <QPixmap>

#include "frame/tree_view_ext.h"

CClassicAnalysisFrame::CClassicAnalysisFrame(CQuilloryApp& app, QWidget* owner)
    : CQuilloryFrame(app, FrameResource::ClassicAnalysis, owner) {
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_analysis.png")));
}
