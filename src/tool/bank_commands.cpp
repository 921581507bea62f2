// build-bank, check: making a data file from bank sources and finding what is
// wrong in a bank.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commands.h"
#include "core/bank/bank_builder.h"
#include "core/bank/bank_check.h"
#include "core/store/data_store.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

int RunBuildBank(const Args& args) {
    if (const Status built = BuildBank(args[0], args[1], ProgramFolder()); !built) {
        std::fprintf(stderr, "quillory-tool: %s\n", built.error().detail.c_str());
        return 1;
    }
    std::error_code ec;
    std::printf("%s\n", std::filesystem::absolute(args[1], ec).lexically_normal().c_str());
    return 0;
}

int RunCheck(const Args& args) {
    std::optional<OpenedBank> bank = OpenBank(args[0]);
    if (!bank) {
        return 1;
    }
    const std::vector<std::string> problems = CheckBank(*bank->store, bank->dataFolder);
    for (const std::string& problem : problems) {
        std::printf("%s\n", problem.c_str());
    }
    if (problems.empty()) {
        std::printf("检查完毕: 没有发现问题\n");
        return 0;
    }
    std::printf("检查完毕: 发现 %zu 个问题\n", problems.size());
    return 1;
}

}  // namespace

Command AddBuildBankCommand(CLI::App& tool) {
    return AddWordsCommand(tool, "build-bank",
                           "make a new data file from a bank source folder (tables and pages)",
                           {"SOURCE_DIR", "DATAFILE"}, RunBuildBank);
}

Command AddCheckCommand(CLI::App& tool) {
    return AddWordsCommand(
        tool, "check",
        "list what is wrong in a bank (missing pages, bad IDs and references, answer forms, "
        "template slots generation cannot fill)",
        {"DATAFILE"}, RunCheck);
}

}  // namespace quillory::tool
