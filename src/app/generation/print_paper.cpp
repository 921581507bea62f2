#include "generation/print_paper.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "core/common/file_name.h"
#include "core/generation/print_file.h"
#include "core/pages/page_context.h"
#include "generation/print_document.h"
#include "widgets/bank_session.h"
#include "widgets/file_dialog_columns.h"
#include "widgets/message_box.h"
#include "widgets/progress_wnd.h"

namespace {

// The browser lays out and renders the pages while the learner waits.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

enum class PrintChoice { Printer, Pdf, Cancel };

PrintChoice AskPrintChoice(QWidget* parent, CBankSession& bank, const QString& title) {
    QMessageBox box(QMessageBox::Question, bank.ApplicationTitle(),
                    QStringLiteral("\"%1\"已准备好打印。").arg(title), QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("PrintChoice"));
    box.setInformativeText(QStringLiteral("您可以把它送到打印机打印，也可以导出为PDF文件保存。"));
    QPushButton* printer = box.addButton(QStringLiteral("打印..."), QMessageBox::AcceptRole);
    QPushButton* pdf = box.addButton(QStringLiteral("导出PDF..."), QMessageBox::ActionRole);
    QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    printer->setObjectName(QStringLiteral("printer"));
    pdf->setObjectName(QStringLiteral("pdf"));
    cancel->setObjectName(QStringLiteral("cancel"));
    box.setDefaultButton(printer);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == printer) {
        return PrintChoice::Printer;
    }
    return box.clickedButton() == pdf ? PrintChoice::Pdf : PrintChoice::Cancel;
}

void PrintOnPrinter(QWidget* parent, CPrintDocument& document, const QString& title) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印试卷"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    bool printed = false;
    {
        BusyCursor busy;
        printed = document.Print(printer);
    }
    if (!printed) {
        ShowMessageBox(parent, QStringLiteral("无法打印：") + document.ErrorText(),
                       QMessageBox::Critical);
    }
}

void SaveAsPdf(QWidget* parent, CBankSession& bank, CPrintDocument& document,
               const QString& title) {
    QFileDialog dialog(parent, QStringLiteral("导出PDF"), DefaultPdfFile(bank, title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    UseChineseFileColumns(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("PDF文件(*.pdf)"), QStringLiteral("所有文件(*)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    UseChineseFileLabels(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString pdfFile = dialog.selectedFiles().first();
    bool exported = false;
    {
        BusyCursor busy;
        exported = document.ExportPdf(pdfFile);
    }
    if (!exported) {
        ShowMessageBox(parent, QStringLiteral("无法导出PDF：") + document.ErrorText(),
                       QMessageBox::Critical);
        return;
    }
    ShowMessageBox(parent, QStringLiteral("已导出PDF文件：\n") + pdfFile, QMessageBox::Information);
}

}  // namespace

QString MakePrintFile(QWidget* parent, CBankSession& bank, quillory::Host& host,
                      const quillory::PaperNodeList& nodes, int itemId) {
    const std::optional<quillory::PrintRange> range = quillory::FindPrintRange(nodes, itemId);
    if (!range) {
        return {};
    }
    const bool withAnswers =
        ShowMessageBox(parent, QStringLiteral("是否打印答案？"), QMessageBox::Question,
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;

    const auto progress = OpenOneLineProgress(parent, bank.Settings(), QStringLiteral("打印试卷"));
    progress->SetRange(0, static_cast<int>(range->end - 1 - range->first), 1);
    progress->SetText(QStringLiteral("开始..."));
    quillory::PageContext context{bank.Store(), bank.DataFolder().toStdString(), host};
    return QString::fromStdString(
        quillory::ComposePrintFile(context, nodes, *range, withAnswers, *progress));
}

QString DefaultPdfFile(const CBankSession& bank, const QString& title) {
    return QString::fromStdString(
        quillory::FileInFolder(bank.DataFolder().toStdString(), (title + ".pdf").toStdString()));
}

void PrintPaperNode(QWidget* parent, CBankSession& bank, quillory::Host& host,
                    const quillory::PaperNodeList& nodes, int itemId) {
    const QString printFile = MakePrintFile(parent, bank, host, nodes, itemId);
    if (printFile.isEmpty()) {
        return;
    }
    CPrintDocument document;
    bool loaded = false;
    {
        BusyCursor busy;
        loaded = document.Load(printFile);
    }
    if (!loaded) {
        ShowMessageBox(parent, QStringLiteral("无法打印：") + document.ErrorText(),
                       QMessageBox::Critical);
        return;
    }
    const QString title =
        QString::fromStdString(nodes[static_cast<size_t>(nodes.IndexOf(itemId))].title);
    switch (AskPrintChoice(parent, bank, title)) {
        case PrintChoice::Printer:
            PrintOnPrinter(parent, document, title);
            break;
        case PrintChoice::Pdf:
            SaveAsPdf(parent, bank, document, title);
            break;
        case PrintChoice::Cancel:
            break;
    }
}
