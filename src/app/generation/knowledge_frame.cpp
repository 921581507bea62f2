#include "generation/knowledge_frame.h"

#include <QPixmap>

#include "frame/tree_view_ext.h"

namespace {

constexpr int kKnowledgeResource = 152;

}  // namespace

CKnowledgeFrame::CKnowledgeFrame(CQuilloryApp& app, QWidget* owner)
    : CQuilloryFrame(app, kKnowledgeResource, owner) {
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_knowledge.png")));
}
