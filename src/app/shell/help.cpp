#include "shell/help.h"

#include <QDesktopServices>
#include <QUrl>

#include "shell/program_folder.h"

QString HelpIndexPath() {
    return FindProgramFolder() + QStringLiteral("/help/index.html");
}

void OpenHelp() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(HelpIndexPath()));
}
