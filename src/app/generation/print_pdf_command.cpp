#include "generation/print_pdf_command.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

#include "generation/print_document.h"

bool IsPrintPdfCommand(int argc, char** argv) {
    return argc >= 2 && std::strcmp(argv[1], kPrintPdfSwitch) == 0;
}

int RunPrintPdfCommand(int argc, char** argv) {
    // Nothing is shown, so no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Past the switch, the first two words that are not switches (the
    // browser's own switches may follow).
    QStringList files;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = arguments.indexOf(kPrintPdfSwitch) + 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith('-')) {
            files.append(arguments[i]);
        }
    }
    if (files.size() != 2) {
        std::fprintf(stderr, "用法: quillory %s PRINTFILE PDFFILE\n", kPrintPdfSwitch);
        return 2;
    }
    CPrintDocument document;
    if (!document.Load(files[0]) || !document.ExportPdf(files[1])) {
        std::fprintf(stderr, "quillory: 无法导出PDF：%s\n", qPrintable(document.ErrorText()));
        return 1;
    }
    return 0;
}
