#include "generation/print_pdf_command.h"
#include "shell/quillory_app.h"
#include "widgets/fonts.h"

int main(int argc, char** argv) {
    // Font aliases must be in place before anything asks fontconfig.
    PrepareFontConfig();
    if (IsPrintPdfCommand(argc, argv)) {
        return RunPrintPdfCommand(argc, argv);
    }
    CQuilloryApp app(argc, argv);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return app.ExitCode();
    }
    const int status = app.exec();
    app.ExitInstance();
    return status;
}
