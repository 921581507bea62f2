// The commands of quillory-tool. Each takes the words after its name and
// returns the exit status; messages go to standard error.
#pragma once

#include <string>
#include <vector>

namespace quillory::tool {

using Args = std::vector<std::string>;

int RunNew(const Args& args);
int RunTemplate(const Args& args);
int RunSql(const Args& args);
int RunBuildBank(const Args& args);
int RunCheck(const Args& args);
int RunShow(const Args& args);
int RunPrint(const Args& args);

// The program data folder: where quillory-tool itself lies in a build tree,
// <prefix>/share/quillory when installed.
std::string ProgramFolder();

}  // namespace quillory::tool
