#include "shell/fonts.h"
#include "shell/quillory_app.h"

int main(int argc, char** argv) {
    // Font aliases must be in place before anything asks fontconfig.
    PrepareFontConfig();
    CQuilloryApp app(argc, argv);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return app.ExitCode();
    }
    const int status = app.exec();
    app.ExitInstance();
    return status;
}
