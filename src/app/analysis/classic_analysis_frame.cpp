#include "analysis/classic_analysis_frame.h"

#include <QPixmap>

#include "frame/tree_view_ext.h"

namespace {

constexpr int kClassicAnalysisResource = 172;

}  // namespace

CClassicAnalysisFrame::CClassicAnalysisFrame(CQuilloryApp& app, QWidget* owner)
    : CQuilloryFrame(app, kClassicAnalysisResource, owner) {
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_analysis.png")));
}
