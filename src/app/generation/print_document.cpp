#include "generation/print_document.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEngineView>

#include <algorithm>

#include "widgets/formula_rendering.h"

namespace {

constexpr qreal kMarginMillimetres = 15;
// How long the print command may take to queue the job.
constexpr int kPrintCommandWait = 60000;

// Runs the browser until Finish() says how it went; a render process that
// dies ends the wait as a failure.
class BrowserWait {
public:
    explicit BrowserWait(QWebEngineView& view) {
        QObject::connect(view.page(), &QWebEnginePage::renderProcessTerminated, &loop_,
                         [this] { Finish(false); });
    }

    QObject* Receiver() { return &loop_; }
    void Finish(bool ok) {
        ok_ = ok;
        finished_ = true;
        loop_.quit();
    }
    bool Run() {
        if (!finished_) {
            loop_.exec(QEventLoop::ExcludeUserInputEvents);
        }
        return ok_;
    }

private:
    QEventLoop loop_;
    bool finished_ = false;
    bool ok_ = false;
};

}  // namespace

CPrintDocument::CPrintDocument() : view_(std::make_unique<QWebEngineView>()) {
    // Never shown: the page is laid out for paper, not for a window.
    view_->setAttribute(Qt::WA_DontShowOnScreen);
    InstallFormulaRendering(*view_->page());
}

CPrintDocument::~CPrintDocument() = default;

bool CPrintDocument::Load(const QString& htmlFile) {
    error_.clear();
    if (!QFileInfo(htmlFile).isFile()) {
        error_ = QStringLiteral("找不到文件 %1").arg(htmlFile);
        return false;
    }
    BrowserWait wait(*view_);
    // Formulas are typeset after the page is there; it is printed as typeset.
    QObject::connect(view_.get(), &QWebEngineView::loadFinished, wait.Receiver(), [&](bool ok) {
        if (!ok) {
            wait.Finish(false);
            return;
        }
        AfterFormulasRendered(*view_->page(), wait.Receiver(), [&] { wait.Finish(true); });
    });
    view_->load(QUrl::fromLocalFile(QFileInfo(htmlFile).absoluteFilePath()));
    const bool loaded = wait.Run();
    if (!loaded) {
        error_ = QStringLiteral("无法打开 %1").arg(htmlFile);
    }
    return loaded;
}

bool CPrintDocument::Print(QPrinter& printer) {
    // The printer gets the PDF, so text stays text: printing through the
    // printer's paint device would send every page as an image.
    const QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("print.pdf"));
    if (!folder.isValid() || !WritePdf(pdf, printer.pageLayout())) {
        error_ = QStringLiteral("无法生成打印文件。");
        return false;
    }
    error_.clear();
    if (!printer.outputFileName().isEmpty()) {
        QFile::remove(printer.outputFileName());
        if (!QFile::copy(pdf, printer.outputFileName())) {
            error_ = QStringLiteral("无法写入文件 %1").arg(printer.outputFileName());
            return false;
        }
        return true;
    }
    QProcess lp;
    QStringList arguments{QStringLiteral("-n"), QString::number(std::max(1, printer.copyCount())),
                          QStringLiteral("-t"), printer.docName()};
    if (!printer.printerName().isEmpty()) {
        arguments << QStringLiteral("-d") << printer.printerName();
    }
    lp.start(QStringLiteral("lp"), arguments << pdf);
    if (!lp.waitForStarted()) {
        error_ = QStringLiteral("找不到打印命令 lp，请安装打印系统（CUPS）。");
        return false;
    }
    if (!lp.waitForFinished(kPrintCommandWait) || lp.exitStatus() != QProcess::NormalExit ||
        lp.exitCode() != 0) {
        error_ = QStringLiteral("打印机没有接受打印任务。") +
                 QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}

bool CPrintDocument::ExportPdf(const QString& pdfFile) {
    error_.clear();
    const QPageLayout layout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
    if (!WritePdf(pdfFile, layout)) {
        error_ = QStringLiteral("无法写入文件 %1").arg(pdfFile);
        return false;
    }
    return true;
}

bool CPrintDocument::WritePdf(const QString& pdfFile, const QPageLayout& layout) {
    BrowserWait wait(*view_);
    QObject::connect(view_.get(), &QWebEngineView::pdfPrintingFinished, wait.Receiver(),
                     [&](const QString&, bool ok) { wait.Finish(ok); });
    view_->printToPdf(QFileInfo(pdfFile).absoluteFilePath(), layout);
    return wait.Run();
}
