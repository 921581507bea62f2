// quillory-tool: the core of the program for bank authors, teachers and
// scripts, without windows.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"

namespace {

using quillory::tool::Command;

constexpr Command (*kCommands[])(CLI::App&) = {
    quillory::tool::AddNewCommand,
    quillory::tool::AddSqlCommand,
    quillory::tool::AddBuildBankCommand,
    quillory::tool::AddCheckCommand,
    quillory::tool::AddShowCommand,
    quillory::tool::AddPrintCommand,
    quillory::tool::AddTemplateCommand,
    quillory::tool::AddAnalyzeCommand,
    quillory::tool::AddImportCommand,
    quillory::tool::AddGenerateCommand,
    quillory::tool::AddTargetedCommand,
    quillory::tool::AddMistakesCommand,
    quillory::tool::AddImportQuestionsCommand,
    quillory::tool::AddExportQuestionsCommand,
};

// A command as its line in the list of commands shows it:
// "print DATAFILE NODE_ID [--answers] [--pdf FILE]".
std::string CommandUsage(const CLI::App& command) {
    std::string usage = command.get_name();
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_positional()) {
            usage +=
                option->get_required() ? " " + option->get_name() : " [" + option->get_name() + "]";
        }
    }
    for (const CLI::Option* option : command.get_options()) {
        if (!option->get_positional() && option != command.get_help_ptr()) {
            const std::string value = option->get_type_name();
            usage += " [" + option->get_name() + (value.empty() ? "" : " " + value) + "]";
        }
    }
    return usage;
}

class ToolFormatter : public CLI::Formatter {
public:
    ToolFormatter() {
        label("Usage", "用法");
        label("SUBCOMMAND", "COMMAND");
    }

    std::string make_subcommand(const CLI::App* command) const override {
        return "  " + CommandUsage(*command) + "\n      " + command->get_description() + "\n";
    }
};

constexpr char kFooter[] =
    "Statements are written as the program writes them: like '*x*', #2024-05-01#,\n"
    "true/false and \"delete * from\" are understood.\n"
    "\n"
    "show writes the page files beside their sources, as the program does, and\n"
    "leaves them there; analyze also stores the knowledge weights. print --pdf\n"
    "has the desktop program beside this tool render the print file (quillory\n"
    "--print-pdf PRINTFILE PDFFILE, which needs no display).";

}  // namespace

int main(int argc, char** argv) {
    CLI::App tool("", "quillory-tool");
    tool.formatter(std::make_shared<ToolFormatter>());
    tool.require_subcommand(1);
    std::vector<Command> commands;
    bool known = argc >= 2 && argv[1][0] == '-';
    for (const auto add : kCommands) {
        commands.push_back(add(tool));
        commands.back().app->group("Commands");
        known = known || (argc >= 2 && commands.back().app->check_name(argv[1]));
    }
    tool.footer(kFooter);
    if (argc < 2) {
        std::printf("%s", tool.help().c_str());
        return 2;
    }
    if (!known) {
        std::fprintf(stderr, "quillory-tool: unknown command \"%s\" (see quillory-tool --help)\n",
                     argv[1]);
        return 2;
    }
    try {
        tool.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return tool.exit(help);
    } catch (const CLI::ParseError& error) {
        // Every bad command line ends alike: what is wrong, the usage of the
        // command it names, and status 2.
        const CLI::App* named = &tool;
        for (const Command& command : commands) {
            if (command.app->parsed()) {
                named = command.app;
            }
        }
        std::fprintf(stderr, "quillory-tool: %s\n用法: quillory-tool %s\n", error.what(),
                     named == &tool ? "COMMAND ARGUMENTS..." : CommandUsage(*named).c_str());
        return 2;
    }
    for (const Command& command : commands) {
        if (command.app->parsed()) {
            return command.run();
        }
    }
    return 2;
}
