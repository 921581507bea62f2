// The paper frames' import of questions from teachers' files (classic
// papers) and export of a paper's questions to a file.
#include <QApplication>
#include <QFileDialog>

#include "core/exchange/bank_writer.h"
#include "core/exchange/import_file.h"
#include "core/exchange/question_file.h"
#include "frame/export_questions.h"
#include "practice/import_questions_dlg.h"
#include "practice/paper_frame.h"
#include "widgets/bank_session.h"
#include "widgets/exchange_folder.h"
#include "widgets/file_dialog_columns.h"
#include "widgets/message_box.h"
#include "widgets/program_folder.h"
#include "widgets/progress_wnd.h"
#include "widgets/tree_view_ext.h"

namespace {

QString FailureText(const quillory::Error& error) {
    switch (error.code) {
        case quillory::ErrorCode::FileAccess:
            return QStringLiteral("无法写入试题的页面，题库没有改动。");
        case quillory::ErrorCode::BadInput:
            return QStringLiteral("导入的文件有问题，题库没有改动。");
        default:
            return QStringLiteral("无法保存导入的试题，题库没有改动。");
    }
}

}  // namespace

void CPaperFrame::ImportQuestions() {
    QFileDialog dialog(this, QStringLiteral("导入试题"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    UseChineseFileColumns(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDirectory(ExchangeFolder());
    dialog.setNameFilters(
        {QStringLiteral("试题文件(%1)").arg(QString::fromLatin1(quillory::QuestionFilePatterns())),
         QStringLiteral("所有文件(*)")});
    UseChineseFileLabels(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    RememberExchangeFolder(dialog.selectedFiles().front());
    CImportQuestionsDlg importDialog(
        bank_, dialog.selectedFiles(),
        QString::fromStdString(quillory::ImportTemplatePath(FindProgramFolder().toStdString())),
        this);
    if (importDialog.exec() != QDialog::Accepted || !importDialog.Plan().ok()) {
        return;
    }
    quillory::Result<std::vector<int>> papers(quillory::ErrorCode::NothingToDo, {});
    {
        const auto progress =
            OpenOneLineProgress(parentWidget(), bank_.Settings(), QStringLiteral("导入试题 "));
        papers = quillory::WriteImport(bank_.Store(), bank_.DataFolder().toStdString(),
                                       *importDialog.Plan(), *progress);
    }
    if (!papers.ok()) {
        ShowMessageBox(this, FailureText(papers.error()), QMessageBox::Critical);
        return;
    }
    emit questionsImported(this);
    LoadPaperTree(-1, filter_);
    // A file that only updated questions in place made no paper to show.
    if (!papers->empty() && papers->front() != 0) {
        TreeView()->ExpandItemById(papers->front(), true);
        TreeView()->SelectItemById(papers->front());
    }
}

void CPaperFrame::ExportQuestions() {
    const int index = Nodes().IndexOf(CurrentItemId());
    if (index < 0) {
        return;
    }
    // The file is named after the paper, and after the section or item below it.
    const quillory::PaperNode& node = Nodes()[static_cast<size_t>(index)];
    QString name = QString::fromStdString(node.title);
    for (int up = Nodes().IndexOf(node.superiorId); up >= 0;
         up = Nodes().IndexOf(Nodes()[static_cast<size_t>(up)].superiorId)) {
        if (Nodes()[static_cast<size_t>(up)].superiorId == 0) {
            name = QString::fromStdString(Nodes()[static_cast<size_t>(up)].title) + " " + name;
            break;
        }
    }
    ExportQuestionsOf(this, bank_, {quillory::QuestionScope::Paper, node.id}, name);
}
