// generate, targeted: practice papers made without windows, for teachers
// who make a set of papers for a class. The same file, options, seed time
// and now give the same paper.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "core/common/legacy_random.h"
#include "core/common/text.h"
#include "core/generation/paper_choices.h"
#include "core/generation/paper_generation.h"
#include "core/generation/targeted_choices.h"
#include "core/store/date_time.h"
#include "terminal_host.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

struct RunArgs {
    std::string dataFile;
    std::string title;
    bool adjust = false;
    int period = 0;
    std::optional<std::int64_t> seedTime;
    std::string now;
    bool dryRun = false;
};

void AddRunOptions(CLI::App& command, RunArgs& args) {
    command.add_option("DATAFILE", args.dataFile)->required();
    command.add_option("--title", args.title, "the paper's title")->required();
    command.add_flag("--adjust", args.adjust, "favour the knowledge points of weak results");
    command
        .add_option("--seed-time", args.seedTime,
                    "seconds the random numbers are seeded from (default: now)")
        ->type_name("EPOCH");
    command.add_option("--now", args.now, "local time of the adjustment (default: now)")
        ->type_name("\"YYYY-MM-DD HH:MM:SS\"");
    command.add_flag("--dry-run", args.dryRun, "print the paper without storing it");
}

bool Settings(const RunArgs& args, GenerationSettings& settings) {
    settings.adjust = args.adjust;
    settings.period = args.period;
    settings.seedTime = args.seedTime.value_or(static_cast<std::int64_t>(std::time(nullptr)));
    return ReadNowOption(args.now, settings.now);
}

int Refuse(const std::string& message) {
    std::fprintf(stderr, "quillory-tool: %s\n", message.c_str());
    return 1;
}

struct GenerateArgs : RunArgs {
    int templateId = 0;
};

int RunGenerate(const GenerateArgs& args) {
    GenerationSettings settings;
    if (!Settings(args, settings)) {
        return 2;
    }
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    const auto choices = ReadTemplateChoices(*bank->store);
    if (!choices) {
        return Refuse(bank->store->LastError());
    }
    // Only what the dialog offers can be chosen.
    const int templateId = ChosenTemplateId(*choices, args.templateId);
    const std::string refused = CheckTemplatePaperChoice(templateId, args.title);
    if (!refused.empty()) {
        return Refuse(refused);
    }
    const TemplatePaperRequest request{templateId, PaperTitleFromEntry(args.title), settings,
                                       !args.dryRun};
    return GenerateAndPrint(
        *bank, [&](GenerationContext& context) { return CreateTemplatePaper(context, request); });
}

struct TargetedArgs : RunArgs {
    int knowledgeId = 0;
    int typeId = 0;
    int count = 0;
    double score = 0.0;
};

int RunTargeted(const TargetedArgs& args) {
    GenerationSettings settings;
    if (!Settings(args, settings)) {
        return 2;
    }
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    const std::vector<std::string> set =
        KnowledgeSetBelow(KnowledgeTree(*bank->store), args.knowledgeId);
    if (set.empty()) {
        return Refuse(Format("no knowledge point %d", args.knowledgeId));
    }
    std::vector<TypeCount> counts;
    switch (CountTargetedQuestions(*bank->store, set, counts)) {
        case TypeCountStatus::Ok:
            break;
        case TypeCountStatus::TypesUnreadable:
            return Refuse(bank->store->LastError());
        case TypeCountStatus::SetTooLarge:
            return Refuse(kSetTooLargeMessage);
    }
    const TargetedCheck check = CheckTargetedChoice(
        args.title, ChosenTypeCount(counts, args.typeId), args.count, args.score);
    if (!check.message.empty()) {
        return Refuse(check.message);
    }
    const TargetedPaperRequest request{args.typeId,
                                       set,
                                       PaperTitleFromEntry(args.title),
                                       args.count,
                                       static_cast<int>(args.score),
                                       settings,
                                       !args.dryRun};
    return GenerateAndPrint(
        *bank, [&](GenerationContext& context) { return CreateTargetedPaper(context, request); });
}

}  // namespace

Command AddGenerateCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "generate", "make a practice paper from a paper template and print its rows");
    auto args = std::make_shared<GenerateArgs>();
    AddRunOptions(*command, *args);
    command->add_option("--template", args->templateId, "the template's ID")
        ->required()
        ->check(DecimalNumber());
    command
        ->add_option("--period", args->period,
                     "history of the adjustment: 0 seven days, "
                     "1 thirty days, 2 all")
        ->check(CLI::Range(0, 2));
    return {command, [args] { return RunGenerate(*args); }};
}

Command AddTargetedCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "targeted",
        "make a practice paper of one question type for a knowledge point and the points "
        "below it, and print its rows");
    auto args = std::make_shared<TargetedArgs>();
    AddRunOptions(*command, *args);
    command->add_option("--knowledge", args->knowledgeId, "the knowledge point's ID")
        ->required()
        ->check(DecimalNumber());
    command->add_option("--type", args->typeId, "the question type's ID")
        ->required()
        ->check(DecimalNumber());
    command->add_option("--count", args->count, "questions (1 to 100)")
        ->required()
        ->check(DecimalNumber());
    command->add_option("--score", args->score, "score of each question (0 to 100)")->required();
    command->add_option("--period", args->period,
                        "history of the adjustment: 0 seven days, 1 thirty days, else all");
    return {command, [args] { return RunTargeted(*args); }};
}

}  // namespace quillory::tool
