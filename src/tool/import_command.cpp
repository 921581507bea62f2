// import: the previous-version import of the desktop program, from the
// command line.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "core/store/previous_version_import.h"
#include "terminal_host.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

struct ImportArgs {
    std::string dataFile;
    std::string earlierFile;  // empty: the one LastVerFile names
};

int RunImport(const ImportArgs& args) {
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    TerminalHost host;
    const OpenProgress quiet = [] { return std::make_unique<NoProgress>(); };
    const ImportResult result =
        args.earlierFile.empty()
            ? ImportPreviousVersion(*bank->store, bank->dataFolder, host, quiet)
            : ImportEarlierFile(*bank->store, bank->dataFolder, args.earlierFile, host, quiet);
    switch (result.outcome) {
        case ImportOutcome::NothingToImport:
            std::printf("LastVerFile 为空: 没有要导入的数据\n");
            return 0;
        case ImportOutcome::Imported:
            std::printf("导入完毕: History %d 行, Paper %d 行\n", result.historyRows,
                        result.paperRows);
            return 0;
        case ImportOutcome::Failed:
            break;
    }
    return 1;
}

}  // namespace

Command AddImportCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "import",
        "copy the history and the generated papers of an earlier data file (OLDFILE, or the "
        "one LastVerFile names) into DATAFILE, and print how many rows were copied");
    auto args = std::make_shared<ImportArgs>();
    command->add_option("DATAFILE", args->dataFile)->required();
    command->add_option("OLDFILE", args->earlierFile);
    return {command, [args] { return RunImport(*args); }};
}

}  // namespace quillory::tool
