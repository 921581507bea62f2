#include "frame/export_questions.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "core/exchange/question_export.h"
#include "widgets/bank_session.h"
#include "widgets/exchange_folder.h"
#include "widgets/file_dialog_columns.h"
#include "widgets/message_box.h"

namespace {

// The formats as the dialog offers them: filter and extension.
const struct {
    const char* filter;
    const char* extension;
} kFormats[] = {
    {"Excel 工作簿 (*.xlsx)", ".xlsx"},
    {"OpenDocument 表格 (*.ods)", ".ods"},
    {"CSV (*.csv)", ".csv"},
    {"GIFT (*.gift)", ".gift"},
    {"Moodle XML (*.xml)", ".xml"},
};

// At most this many of the warnings are listed; the rest are counted.
constexpr size_t kListedWarnings = 15;

QString FailureText(const quillory::Error& error) {
    switch (error.code) {
        case quillory::ErrorCode::NothingToDo:
            return QStringLiteral("选定的内容中没有试题。");
        case quillory::ErrorCode::FileAccess:
            return QStringLiteral("无法写入文件，试题没有导出。");
        case quillory::ErrorCode::NotFound:
            return QStringLiteral("选定的内容已不在题库中。");
        default:
            return QStringLiteral("无法读取题库中的试题，试题没有导出。");
    }
}

}  // namespace

void ExportQuestionsOf(QWidget* parent, CBankSession& bank,
                       const quillory::QuestionSelection& selection, const QString& name) {
    QFileDialog dialog(parent, QStringLiteral("导出试题"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    UseChineseFileColumns(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const auto& format : kFormats) {
        filters << QString::fromUtf8(format.filter);
    }
    dialog.setNameFilters(filters);
    dialog.setDirectory(ExchangeFolder());
    // A title may hold what a file name cannot.
    QString fileName = name;
    fileName.replace(QLatin1Char('/'), QLatin1Char('_'))
        .replace(QLatin1Char('\\'), QLatin1Char('_'));
    dialog.selectFile(fileName + QString::fromLatin1(kFormats[0].extension));
    UseChineseFileLabels(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    QString path = dialog.selectedFiles().front();
    RememberExchangeFolder(path);
    // A name typed without a known extension takes the chosen format's.
    if (!quillory::ExportFormatOf(path.toStdString())) {
        const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
        path += QString::fromLatin1(kFormats[chosen < 0 ? 0 : chosen].extension);
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const quillory::Result<quillory::ExportReport> report = quillory::ExportQuestions(
        bank.Store(), bank.DataFolder().toStdString(), selection, path.toStdString());
    QApplication::restoreOverrideCursor();
    if (!report.ok()) {
        ShowMessageBox(parent, FailureText(report.error()), QMessageBox::Critical);
        return;
    }
    QString text = QString::fromStdString(
        quillory::ExportSummary(*report, QFileInfo(path).fileName().toStdString()) + "。");
    if (!report->warnings.empty()) {
        text += QStringLiteral("\n\n请注意：");
        const std::vector<std::string> lines = quillory::ExportWarningLines(*report);
        for (size_t i = 0; i < lines.size() && i < kListedWarnings; ++i) {
            text += QStringLiteral("\n试题 ") + QString::fromStdString(lines[i]);
        }
        if (lines.size() > kListedWarnings) {
            text += QStringLiteral("\n……另有 %1 处").arg(lines.size() - kListedWarnings);
        }
    }
    ShowMessageBox(parent, text,
                   report->warnings.empty() ? QMessageBox::Information : QMessageBox::Warning);
}
