// Where the program's own data lives: Template/, help/, Quillory.skn.
#pragma once

#include <QString>

// The core's rule for the running executable.
QString FindProgramFolder();
