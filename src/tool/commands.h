// The commands of quillory-tool. Each adds itself to the tool as a
// subcommand with its positionals, options and help, and hands back what
// runs it once the command line is parsed; that returns the exit status.
// Messages go to standard error.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace quillory::tool {

using Args = std::vector<std::string>;

struct Command {
    CLI::App* app = nullptr;
    std::function<int()> run;
};

Command AddNewCommand(CLI::App& tool);
Command AddTemplateCommand(CLI::App& tool);
Command AddSqlCommand(CLI::App& tool);
Command AddBuildBankCommand(CLI::App& tool);
Command AddCheckCommand(CLI::App& tool);
Command AddShowCommand(CLI::App& tool);
Command AddPrintCommand(CLI::App& tool);
Command AddAnalyzeCommand(CLI::App& tool);
Command AddImportCommand(CLI::App& tool);
Command AddGenerateCommand(CLI::App& tool);
Command AddTargetedCommand(CLI::App& tool);
Command AddMistakesCommand(CLI::App& tool);
Command AddImportQuestionsCommand(CLI::App& tool);
Command AddExportQuestionsCommand(CLI::App& tool);

// A command that takes only words: one positional per name, all required,
// handed to run in that order.
Command AddWordsCommand(CLI::App& tool, const char* name, const char* summary,
                        std::vector<const char*> words, int (*run)(const Args& args));

// The program data folder of this executable (ProgramFolderOf).
std::string ProgramFolder();

}  // namespace quillory::tool
