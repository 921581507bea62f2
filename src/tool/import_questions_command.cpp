// import-questions: teachers' question files (workbooks, Word, text) into a
// data file, each a classic paper, with the lines the import dialog shows.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "core/exchange/bank_writer.h"
#include "core/exchange/import_file.h"
#include "core/host/no_progress.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

struct ImportQuestionsArgs {
    std::string dataFile;
    std::vector<std::string> files;
    std::string title;
    int knowledgeRoot = 0;
    QuestionFormat format = QuestionFormat::Auto;
    bool skipBad = false;
    bool dryRun = false;
};

int RunImportQuestions(const ImportQuestionsArgs& args) {
    if (!args.title.empty() && args.files.size() > 1) {
        std::fprintf(stderr, "quillory-tool: --title names the paper of one FILE only\n");
        return 2;
    }
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    std::vector<ImportFile> files;
    for (const std::string& path : args.files) {
        files.push_back(ReadImportFile(path, args.title, args.format));
    }
    const Result<ImportPlan> plan =
        PlanImport(*bank->store, std::move(files), {args.knowledgeRoot, args.skipBad});
    if (!plan.ok()) {
        std::fprintf(stderr, "quillory-tool: %s\n", plan.error().detail.c_str());
        return 1;
    }
    if (plan->Refused()) {
        for (const std::string& line : ProblemLines(*plan)) {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        return 1;
    }
    if (!args.dryRun) {
        NoProgress progress;
        const Result<std::vector<int>> written =
            WriteImport(*bank->store, bank->dataFolder, *plan, progress);
        if (!written.ok()) {
            std::fprintf(stderr, "quillory-tool: 无法导入试题，题库没有改动 (%s)\n",
                         written.error().detail.c_str());
            return 1;
        }
    }
    for (const std::string& line : ImportLines(*plan)) {
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

}  // namespace

Command AddImportQuestionsCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "import-questions",
        "import teachers' question files (.xlsx .ods .csv .docx .txt .gift, Moodle .xml, QTI "
        ".zip) into DATAFILE, each a "
        "classic paper; a file imported again updates its questions in place. Prints "
        "ID<TAB>kind<TAB>type<TAB>source a question, WARN lines and a summary; any problem "
        "refuses the import (on standard error, exit 1) unless --skip-bad");
    auto args = std::make_shared<ImportQuestionsArgs>();
    command->add_option("DATAFILE", args->dataFile)->required();
    command->add_option("FILE", args->files)->required();
    command->add_option("--title", args->title, "the paper's title (default: the file's name)");
    command
        ->add_option("--knowledge-root", args->knowledgeRoot,
                     "knowledge paths start below this point")
        ->check(DecimalNumber());
    command
        ->add_option_function<std::string>(
            "--format",
            [args](const std::string& name) { args->format = *QuestionFormatNamed(name); },
            "read every FILE as sheet, text (marked), gift, aiken, moodle or qti instead of "
            "by its name (a .txt by its content)")
        ->check(CLI::Validator(
            [](const std::string& name) -> std::string {
                return QuestionFormatNamed(name) ? "" : "unknown format \"" + name + "\"";
            },
            ""))
        ->type_name("FORMAT");
    command->add_flag("--skip-bad", args->skipBad, "import the rest, listing what was left out");
    command->add_flag("--dry-run", args->dryRun, "write nothing, print the same lines");
    return {command, [args] { return RunImportQuestions(*args); }};
}

}  // namespace quillory::tool
