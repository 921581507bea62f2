// The help pages shipped in the program data folder.
#pragma once

#include <QString>

// The first help page, <program data folder>/help/index.html.
QString HelpIndexPath();

// Opens the help in the desktop's browser; a failure is not reported.
void OpenHelp();
