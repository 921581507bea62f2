// A print file laid out by the browser off screen, to be sent to a printer
// or saved as a PDF file. Each operation waits until the browser is done;
// the learner's input is held back meanwhile.
#pragma once

#include <QString>
#include <memory>

class QPageLayout;
class QPrinter;
class QWebEngineView;

class CPrintDocument {
public:
    CPrintDocument();
    ~CPrintDocument();
    CPrintDocument(const CPrintDocument&) = delete;
    CPrintDocument& operator=(const CPrintDocument&) = delete;

    // Loads an HTML file and typesets its formulas; false when the browser
    // could not show it.
    bool Load(const QString& htmlFile);
    // Prints the loaded page as the print dialog set the printer up: a PDF
    // of it goes to the printer's file, or to the printer through lp.
    bool Print(QPrinter& printer);
    // Writes the loaded page as an A4 PDF file.
    bool ExportPdf(const QString& pdfFile);

    // Why the last operation failed, for the learner.
    QString ErrorText() const { return error_; }

private:
    bool WritePdf(const QString& pdfFile, const QPageLayout& layout);

    std::unique_ptr<QWebEngineView> view_;
    QString error_;
};
