#include "shell/help.h"

#include "shell/program_folder.h"

QString HelpIndexPath() {
    return FindProgramFolder() + QStringLiteral("/help/index.html");
}
