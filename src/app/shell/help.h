// The help pages shipped in the program data folder.
#pragma once

#include <QString>

// The first help page, <program data folder>/help/index.html.
QString HelpIndexPath();
