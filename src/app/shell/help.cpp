#include "shell/help.h"

#include <QFileInfo>

#include "frame/message_box.h"
#include "shell/help_wnd.h"
#include "shell/program_folder.h"
#include "shell/quillory_app.h"

QString HelpIndexPath() {
    return FindProgramFolder() + QStringLiteral("/help/index.html");
}

void OpenHelp(CQuilloryApp& app, QWidget* parent) {
    const QString index = HelpIndexPath();
    if (!QFileInfo::exists(index)) {
        ShowMessageBox(parent, QStringLiteral("找不到使用帮助文件：%1").arg(index),
                       QMessageBox::Warning);
        return;
    }
    app.HelpWindow().BringToFront();
}
