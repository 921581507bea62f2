// export-questions: a paper's, a knowledge point's or all questions of a data
// file into a workbook the import reads back, or into GIFT or Moodle XML.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "core/exchange/question_export.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

struct ExportQuestionsArgs {
    std::string dataFile;
    std::string out;
    std::optional<int> paper;
    std::optional<int> knowledge;
    bool all = false;
};

int RunExportQuestions(const ExportQuestionsArgs& args) {
    if ((args.paper ? 1 : 0) + (args.knowledge ? 1 : 0) + (args.all ? 1 : 0) != 1) {
        std::fprintf(stderr, "quillory-tool: give one of --paper, --knowledge and --all\n");
        return 2;
    }
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    QuestionSelection selection;
    if (args.paper) {
        selection = {QuestionScope::Paper, *args.paper};
    } else if (args.knowledge) {
        selection = {QuestionScope::Knowledge, *args.knowledge};
    }
    const Result<ExportReport> report =
        ExportQuestions(*bank->store, bank->dataFolder, selection, args.out);
    if (!report.ok()) {
        std::fprintf(stderr, "quillory-tool: %s\n", report.error().detail.c_str());
        return 1;
    }
    for (const std::string& line : report->lines) {
        std::printf("%s\n", line.c_str());
    }
    for (const std::string& line : ExportWarningLines(*report)) {
        std::fprintf(stderr, "WARN %s\n", line.c_str());
    }
    std::printf("%s\n", ExportSummary(*report, args.out).c_str());
    return 0;
}

}  // namespace

Command AddExportQuestionsCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "export-questions",
        "export the questions of a paper (or one section or item of it), of a knowledge point "
        "(with the points below it) or all questions of DATAFILE to OUT, in the format of its "
        "extension: .xlsx .ods .csv (read back by import-questions, which updates the questions "
        "in place by their 试题编号), .gift or .xml (Moodle XML). Prints ID<TAB>kind<TAB>type a "
        "question and a summary; what was left out goes to standard error as WARN lines");
    auto args = std::make_shared<ExportQuestionsArgs>();
    command->add_option("DATAFILE", args->dataFile)->required();
    command->add_option("OUT", args->out)->required();
    command->add_option("--paper", args->paper, "a Paper row: a paper, a section or an item")
        ->check(DecimalNumber());
    command->add_option("--knowledge", args->knowledge, "a knowledge point")
        ->check(DecimalNumber());
    command->add_flag("--all", args->all, "every question of the data file");
    return {command, [args] { return RunExportQuestions(*args); }};
}

}  // namespace quillory::tool
