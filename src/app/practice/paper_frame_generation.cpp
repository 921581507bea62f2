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
#include "widgets/error_text.h"
#include "widgets/message_box.h"
#include "widgets/progress_wnd.h"
#include "widgets/qt_clock.h"
#include "widgets/quillory_view.h"
#include "widgets/tree_view_ext.h"

namespace {

using Generation =
    std::function<quillory::Result<quillory::GeneratedPaper>(quillory::GenerationContext&)>;

// The generator is seeded from now, as the adjustment's cut-off is taken.
void StartNow(quillory::GenerationSettings& settings) {
    settings.seedTime = static_cast<std::int64_t>(std::time(nullptr));
    settings.now = CQtClock().Now();
}

// Runs one generation under the progress window; the paper's ID, or 0 when
// it was not stored (the learner has been told why).
int Generate(CPaperFrame& frame, CBankSession& bank, const Generation& generation) {
    const quillory::Result<quillory::GeneratedPaper> paper = [&] {
        // Over the main window, the frame's owner, which it disables while
        // the questions are chosen.
        const auto progress = OpenOneLineProgress(frame.parentWidget(), bank.Settings(),
                                                  QStringLiteral("创建新试卷 "));
        quillory::GenerationContext context{bank.Store(), bank.DataFolder().toStdString(),
                                            frame.ContentView()->Host(), *progress, bank.Random()};
        return generation(context);
    }();
    if (!paper) {
        ShowMessageBox(&frame, PaperErrorText(paper.error()), QMessageBox::Critical);
        return 0;
    }
    return paper->paperId;
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
    quillory::TemplatePaperRequest request;
    request.templateId = dialog.TemplateId();
    request.title = dialog.Title();
    request.settings.adjust = dialog.Adjust();
    request.settings.period = dialog.Period();
    CreateTemplatePaper(std::move(request));
}

void CPaperFrame::CreateTemplatePaper(quillory::TemplatePaperRequest request) {
    StartNow(request.settings);
    request.save = true;
    ShowNewPaper(Generate(*this, bank_, [&](quillory::GenerationContext& context) {
        return quillory::CreateTemplatePaper(context, request);
    }));
}

void CPaperFrame::CreateTargetedPaper(quillory::TargetedPaperRequest request) {
    StartNow(request.settings);
    request.save = true;
    ShowNewPaper(Generate(*this, bank_, [&](quillory::GenerationContext& context) {
        return quillory::CreateTargetedPaper(context, request);
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
    const int paperId = Generate(*this, bank_, [&](quillory::GenerationContext& context) {
        return quillory::CreateRedoPaper(context, {notebook->mistakes, title, true});
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
