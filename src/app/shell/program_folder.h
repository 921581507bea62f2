// Where the program's own data lives: Template/, help/, Quillory.skn.
#pragma once

#include <QString>

// The executable's folder in a build tree; <prefix>/share/quillory when the
// program is installed (the executable's folder then holds no "Template").
QString FindProgramFolder();
