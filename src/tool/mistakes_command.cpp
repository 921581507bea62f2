// mistakes: the learner's mistake notebook, one line a question, in the
// order its page lists them.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "core/analysis/analysis_parts.h"
#include "core/analysis/mistake_notebook.h"
#include "core/common/text.h"
#include "core/generation/paper_choices.h"
#include "core/generation/redo_paper.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

struct MistakesArgs {
    std::string dataFile;
    int knowledgeId = 0;
    std::string days = "all";
    std::string now;
    std::optional<std::string> redo;  // the redo paper's title
};

int RunMistakes(const MistakesArgs& args) {
    MistakeFilter filter;
    filter.days = args.days == "all" ? 0 : AtoI(args.days);
    filter.knowledgeId = args.knowledgeId;
    if (!ReadNowOption(args.now, filter.now)) {
        return 2;
    }
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    if (args.knowledgeId != 0) {
        auto point =
            bank->store->Query(Format("select * from Knowledge where ID=%d", args.knowledgeId));
        if (!point || point->AtEnd()) {
            std::fprintf(stderr, "quillory-tool: no knowledge point %d\n", args.knowledgeId);
            return 1;
        }
    }
    const std::optional<MistakeNotebook> notebook = ReadMistakeNotebook(*bank->store, filter);
    if (!notebook) {
        std::fprintf(stderr, "quillory-tool: %s\n", bank->store->LastError().c_str());
        return 1;
    }
    if (args.redo) {
        const std::string title = PaperTitleFromEntry(*args.redo);
        if (title.empty()) {
            std::fprintf(stderr, "quillory-tool: 无效的试卷标题！\n");
            return 1;
        }
        return GenerateAndPrint(*bank, [&](GenerationContext& context) {
            return CreateRedoPaper(context, {notebook->mistakes, title, true});
        });
    }
    for (const Mistake& mistake : notebook->mistakes) {
        std::printf("%d\t%s\t%d\t%d\t%s\n", mistake.questionId,
                    IdList(mistake.knowledgeIds).c_str(), mistake.wrong, mistake.right,
                    FormatDate(mistake.lastWrongDate).c_str());
    }
    return 0;
}

}  // namespace

Command AddMistakesCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "mistakes",
        "list the questions whose latest attempt fell short of full marks, by knowledge point: "
        "question, its points, times wrong and right, the day of the last wrong attempt");
    auto args = std::make_shared<MistakesArgs>();
    command->add_option("DATAFILE", args->dataFile)->required();
    command
        ->add_option("--knowledge", args->knowledgeId,
                     "only the questions of this point and the points below it")
        ->check(DecimalNumber());
    command
        ->add_option("--days", args->days,
                     "only the mistakes of the last 7 or 30 days, or all (default)")
        ->check(CLI::IsMember({"7", "30", "all"}));
    command
        ->add_option("--redo", args->redo,
                     "store a practice paper of these questions (at most 100) with this "
                     "title, and print its rows as generate does")
        ->type_name("TITLE");
    command->add_option("--now", args->now, "local time the days count back from (default: now)")
        ->type_name("\"YYYY-MM-DD HH:MM:SS\"");
    return {command, [args] { return RunMistakes(*args); }};
}

}  // namespace quillory::tool
