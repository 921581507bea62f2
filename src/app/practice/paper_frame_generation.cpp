// The practice paper frame's generation: kCmdNewPaper with the auto-paper
// dialog, and the two kinds of generated paper.
#include <QInputDialog>
#include <QLineEdit>
#include <algorithm>
#include <ctime>
#include <functional>

#include "core/generation/paper_choices.h"
#include "core/generation/paper_generation.h"
#include "core/generation/redo_paper.h"
#include "generation/auto_paper_dlg.h"
#include "practice/paper_frame.h"
#include "widgets/bank_session.h"
#include "widgets/message_box.h"
#include "widgets/progress_wnd.h"
#include "widgets/qt_clock.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

using Generation =
    std::function<bool(quillory::GenerationContext&, const quillory::GenerationSettings&,
                       quillory::GeneratedPaper&, std::string&)>;

// Runs one generation under the progress window; the paper's ID, or 0 when
// it was not stored (the learner has been told why).
int Generate(CPaperFrame& frame, CBankSession& bank, bool adjust, int period,
             const Generation& generation) {
    quillory::GenerationSettings settings;
    settings.adjust = adjust;
    settings.period = period;
    settings.seedTime = static_cast<std::int64_t>(std::time(nullptr));
    settings.now = CQtClock().Now();

    quillory::GeneratedPaper paper;
    std::string error;
    bool stored = false;
    {
        // Over the main window, the frame's owner, which it disables while
        // the questions are chosen.
        const auto progress = OpenOneLineProgress(frame.parentWidget(), bank.Settings(),
                                                  QStringLiteral("创建新试卷 "));
        quillory::GenerationContext context{bank.Store(), bank.DataFolder().toStdString(),
                                            frame.ContentView()->Host(), *progress, bank.Random()};
        stored = generation(context, settings, paper, error);
    }
    if (!stored) {
        ShowMessageBox(&frame, QString::fromStdString(error), QMessageBox::Critical);
        return 0;
    }
    return paper.paperId;
}

}  // namespace

void CPaperFrame::NewPaper() {
    const std::optional<std::vector<quillory::TemplateChoice>> templates =
        quillory::ReadTemplateChoices(bank_.Store());
    if (!templates) {
        return;
    }
    CAutoPaperDlg dialog(bank_.Settings(), *templates, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const std::string refusal =
        quillory::CheckTemplatePaperChoice(dialog.TemplateId(), dialog.Title());
    if (!refusal.empty()) {
        ShowMessageBox(this, QString::fromStdString(refusal), QMessageBox::Critical);
        return;
    }
    CreateTemplatePaper(dialog.TemplateId(), dialog.Title(), dialog.Adjust(), dialog.Period());
}

void CPaperFrame::CreateTemplatePaper(int templateId, const std::string& title, bool adjust,
                                      int period) {
    ShowNewPaper(Generate(
        *this, bank_, adjust, period,
        [&](quillory::GenerationContext& context, const quillory::GenerationSettings& settings,
            quillory::GeneratedPaper& paper, std::string& error) {
            return quillory::CreateTemplatePaper(context, templateId, title, settings, true, paper,
                                                 error);
        }));
}

void CPaperFrame::CreateTargetedPaper(int typeId, const std::vector<std::string>& knowledgeSet,
                                      const std::string& title, int count, int score, bool adjust,
                                      int period) {
    ShowNewPaper(Generate(
        *this, bank_, adjust, period,
        [&](quillory::GenerationContext& context, const quillory::GenerationSettings& settings,
            quillory::GeneratedPaper& paper, std::string& error) {
            return quillory::CreateTargetedPaper(context, typeId, knowledgeSet, title, count, score,
                                                 settings, true, paper, error);
        }));
}

bool CPaperFrame::CreateRedoPaper(int knowledgeId) {
    const quillory::DateTime now = CQtClock().Now();
    const std::optional<quillory::MistakeNotebook> notebook =
        quillory::ReadMistakeNotebook(bank_.Store(), {0, knowledgeId == -1 ? 0 : knowledgeId, now});
    if (!notebook) {
        ShowMessageBox(this, QStringLiteral("无法读取历史纪录！"), QMessageBox::Critical);
        return false;
    }
    if (notebook->mistakes.empty()) {
        ShowMessageBox(this, QStringLiteral("错题本中没有试题。"), QMessageBox::Information);
        return false;
    }
    bool accepted = false;
    const QString entry = QInputDialog::getText(
        this, QStringLiteral("重做错题"),
        QStringLiteral("用错题本中的 %1 道题组成练习卷。标题：")
            .arg(std::min(notebook->mistakes.size(), quillory::kRedoPaperLimit)),
        QLineEdit::Normal, QString::fromStdString(quillory::RedoPaperTitle(now)), &accepted);
    if (!accepted) {
        return false;
    }
    const std::string title = quillory::PaperTitleFromEntry(entry.toStdString());
    if (title.empty()) {
        ShowMessageBox(this, QStringLiteral("无效的试卷标题！"), QMessageBox::Critical);
        return false;
    }
    const int paperId =
        Generate(*this, bank_, false, 0,
                 [&](quillory::GenerationContext& context, const quillory::GenerationSettings&,
                     quillory::GeneratedPaper& paper, std::string& error) {
                     return quillory::CreateRedoPaper(context, notebook->mistakes, title, true,
                                                      paper, error);
                 });
    ShowNewPaper(paperId);
    return paperId != 0;
}

void CPaperFrame::ShowNewPaper(int paperId) {
    if (paperId == 0) {
        return;
    }
    LoadPaperTree(-1, quillory::PaperFilter::Practice);
    TreeView()->ExpandItemById(paperId, true);
    TreeView()->SelectItemById(paperId);
}
