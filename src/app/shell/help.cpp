#include "shell/help.h"

#include "widgets/program_folder.h"

QString HelpIndexPath() {
    return FindProgramFolder() + QStringLiteral("/help/index.html");
}
