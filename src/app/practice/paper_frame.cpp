#include "practice/paper_frame.h"

#include <QAction>
#include <QPixmap>
#include <utility>
#include <vector>

#include "core/common/internal_link.h"
#include "core/practice/paper_tree.h"
#include "frame/frame_commands.h"
#include "generation/print_paper.h"
#include "widgets/bank_session.h"
#include "widgets/message_box.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

// Cells of the tree strip: each kind has its image and, next to it, the
// image it shows while selected.
constexpr int kPaperImage = 0;
constexpr int kSectionImage = 2;
constexpr int kQuestionItemImage = 4;

int ImageOf(quillory::PaperNodeKind kind) {
    switch (kind) {
        case quillory::PaperNodeKind::Paper:
            return kPaperImage;
        case quillory::PaperNodeKind::Section:
            return kSectionImage;
        case quillory::PaperNodeKind::QuestionItem:
            return kQuestionItemImage;
    }
    return kPaperImage;
}

}  // namespace

CPaperFrame::CPaperFrame(CBankSession& bank, FrameResource resource, quillory::PaperFilter filter,
                         QWidget* owner)
    : CQuilloryFrame(bank, resource, owner), filter_(filter) {
    // Paper 0/1, section 2/3, question item 4/5; judged items 6 to 8.
    TreeView()->SetImageList(QPixmap(QStringLiteral(":/frame/icons/tree_paper.png")));
    if (QAction* action = Command(kCmdStartExam)) {
        connect(action, &QAction::triggered, this,
                [this] { emit startExamRequested(this, CurrentItemId()); });
    }
    if (QAction* action = Command(kCmdDelete)) {
        connect(action, &QAction::triggered, this, &CPaperFrame::DeletePaper);
    }
    if (QAction* action = Command(kCmdNewPaper)) {
        connect(action, &QAction::triggered, this, &CPaperFrame::NewPaper);
    }
    if (QAction* action = Command(kCmdImportQuestions)) {
        connect(action, &QAction::triggered, this, &CPaperFrame::ImportQuestions);
    }
    if (QAction* action = Command(kCmdExportQuestions)) {
        connect(action, &QAction::triggered, this, &CPaperFrame::ExportQuestions);
    }
    if (QAction* action = Command(kCmdPrint)) {
        connect(action, &QAction::triggered, this, [this] {
            PrintPaperNode(this, bank_, ContentView()->Host(), Nodes(), CurrentItemId());
        });
    }
    UpdateCommandStates();
}

int CPaperFrame::LoadPaperTree(int rootId, quillory::PaperFilter filter) {
    std::optional<quillory::PaperNodeList> rows =
        quillory::LoadPaperTreeRows(bank_.Store(), rootId, filter);
    if (!rows) {
        return 0;
    }
    // The base's reset: the tree, the node list and the current item go.
    CQuilloryFrame::ResetTree();
    ShowPaperNodes(std::move(*rows));
    TreeView()->SelectItem(TreeView()->topLevelItem(0));
    SetLoaded(true);
    return 1;
}

void CPaperFrame::LoadTree() {
    LoadPaperTree(-1, filter_);
}

void CPaperFrame::ShowPaperNodes(quillory::PaperNodeList nodes) {
    std::vector<CTreeViewExt::NewItem> items;
    items.reserve(nodes.Size());
    for (const quillory::PaperNode& node : nodes.Nodes()) {
        const int image = ImageOf(quillory::KindOf(node));
        items.push_back(
            {node.id, node.superiorId, QString::fromStdString(node.title), image, image + 1});
    }
    TreeView()->FillItems(items);
    Nodes() = std::move(nodes);
}

void CPaperFrame::OnTreeSelect(int itemId) {
    CQuilloryFrame::OnTreeSelect(itemId);
    const int index = Nodes().IndexOf(itemId);
    if (index >= 0 && Nodes()[static_cast<size_t>(index)].questionId != 0) {
        const quillory::PaperNode& node = Nodes()[static_cast<size_t>(index)];
        ContentView()->Navigate(QString::fromStdString(
            quillory::MakeLink(quillory::LinkKind::Question, node.questionId, node.title)));
    } else {
        ContentView()->Navigate(
            QString::fromStdString(quillory::MakeLink(quillory::LinkKind::Paper, itemId)));
    }
}

void CPaperFrame::UpdateCommandStates() {
    CQuilloryFrame::UpdateCommandStates();
    const int index = Nodes().IndexOf(CurrentItemId());
    EnableCommand(kCmdStartExam, CurrentItemId() != -1);
    EnableCommand(kCmdPrint, index >= 0);
    EnableCommand(kCmdExportQuestions, index >= 0);
    // Only a whole paper can be deleted, never a section or a question.
    EnableCommand(kCmdDelete, index >= 0 && Nodes()[static_cast<size_t>(index)].superiorId == 0);
}

void CPaperFrame::DeletePaper() {
    const int index = Nodes().IndexOf(CurrentItemId());
    if (index < 0 || Nodes()[static_cast<size_t>(index)].superiorId != 0) {
        ShowMessageBox(this, QStringLiteral("无法单独删除试题或试卷部分！"), QMessageBox::Warning);
        return;
    }
    const QString title = QString::fromStdString(Nodes()[static_cast<size_t>(index)].title);
    if (ShowMessageBox(
            this,
            QStringLiteral("您确定要删除试卷\"") + title + QStringLiteral("\"及相关历史纪录吗？"),
            QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const quillory::Status deleted =
        quillory::DeletePaperTree(bank_.Store(), bank_.Settings(), bank_.DataFolder().toStdString(),
                                  Nodes(), CurrentItemId());
    LoadPaperTree(-1, quillory::PaperFilter::Practice);
    if (!deleted) {
        // The rows go all or nothing: the paper and its history are still there.
        ShowMessageBox(this,
                       QStringLiteral("无法删除试卷\"") + title +
                           QStringLiteral("\"，试卷及其历史纪录均未改动。"),
                       QMessageBox::Critical);
    }
}
