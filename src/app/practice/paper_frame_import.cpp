// The classic papers frame's import of questions from teachers' files.
#include <QFileDialog>

#include "core/exchange/bank_writer.h"
#include "core/exchange/import_file.h"
#include "core/exchange/question_file.h"
#include "practice/import_questions_dlg.h"
#include "practice/paper_frame.h"
#include "widgets/bank_session.h"
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
    dialog.setNameFilters(
        {QStringLiteral("试题文件(%1)").arg(QString::fromLatin1(quillory::QuestionFilePatterns())),
         QStringLiteral("所有文件(*)")});
    UseChineseFileLabels(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
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
    if (!papers->empty()) {
        TreeView()->ExpandItemById(papers->front(), true);
        TreeView()->SelectItemById(papers->front());
    }
}
