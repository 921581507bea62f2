// show, print, analyze: the pages and print files the program composes, made
// without windows.
#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "core/analysis/classic_analysis.h"
#include "core/common/internal_link.h"
#include "core/common/text.h"
#include "core/generation/print_file.h"
#include "core/pages/linked_page.h"
#include "core/practice/paper_tree.h"
#include "core/store/data_store.h"
#include "core/store/date_time.h"
#include "terminal_host.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

// The desktop program beside this tool renders the PDF, so the tool itself
// stays free of the browser.
bool RenderPdf(const std::string& printFile, const std::string& pdfFile) {
    std::error_code ec;
    const std::string program =
        (std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "quillory").string();
    if (ec || access(program.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "quillory-tool: cannot make a PDF without %s\n", program.c_str());
        return false;
    }
    // The browser talks a lot on standard error; that is only worth showing
    // when the PDF could not be made.
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::fprintf(stderr, "quillory-tool: cannot run %s\n", program.c_str());
        return false;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDERR_FILENO);
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[1]);
        // The browser's sandbox refuses to run as root.
        if (geteuid() == 0) {
            setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
        }
        execl(program.c_str(), program.c_str(), "--print-pdf", printFile.c_str(), pdfFile.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string talk;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        talk.append(buffer, static_cast<size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s", talk.c_str());
        std::fprintf(stderr, "quillory-tool: %s could not write %s\n", program.c_str(),
                     pdfFile.c_str());
        return false;
    }
    return true;
}

struct ShowArgs {
    std::string dataFile;
    std::string link;
    std::string now;
};

int RunShow(const ShowArgs& args) {
    DateTime now;
    if (!ReadNowOption(args.now, now)) {
        return 2;
    }
    const NavigationDecision decision = DecideNavigation(args.link);
    if (decision.action == NavigationAction::Cancel) {
        std::fprintf(stderr, "quillory-tool: the link is empty\n");
        return 2;
    }
    if (decision.action == NavigationAction::Proceed) {
        // Not a page the program composes: an internal link of an unknown
        // kind fails in the view, anything else is shown as it is.
        if (StartsWithNoCase(args.link, kLinkPrefix)) {
            std::fprintf(stderr, "quillory-tool: 无法打开相应内容！\n");
            return 1;
        }
        std::printf("%s\n", args.link.c_str());
        return 0;
    }
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    TerminalHost host;
    PageContext context{*bank->store, bank->dataFolder, host};
    // The related-information toggle is on, as at the program's start; with
    // no settings kept, the summary is built every time.
    if (const Status shown =
            ShowLinkedPage(context, decision.link, PageOptions{true, now, nullptr, {}});
        !shown) {
        std::fprintf(stderr, "quillory-tool: %s\n", shown.error().detail.c_str());
        return 1;
    }
    // After an error the view may still go to a page it could not write; a
    // script is given no such path.
    if (host.Failed()) {
        return 1;
    }
    for (const std::string& shown : host.Navigations()) {
        std::printf("%s\n", shown.c_str());
    }
    if (host.Navigations().empty()) {
        std::fprintf(stderr, "quillory-tool: nothing to show (the row has no page)\n");
        return 1;
    }
    return 0;
}

struct PrintArgs {
    std::string dataFile;
    int nodeId = 0;
    bool withAnswers = false;
    std::string pdfFile;
};

int RunPrint(const PrintArgs& args) {
    std::optional<OpenedBank> bank = OpenBank(args.dataFile);
    if (!bank) {
        return 1;
    }
    const std::optional<PaperNodeList> nodes =
        LoadPaperTreeRows(*bank->store, -1, PaperFilter::All);
    if (!nodes) {
        std::fprintf(stderr, "quillory-tool: %s\n", bank->store->LastError().c_str());
        return 1;
    }
    const std::optional<PrintRange> range = FindPrintRange(*nodes, args.nodeId);
    if (!range) {
        std::fprintf(stderr, "quillory-tool: no paper, section or question item %d\n", args.nodeId);
        return 1;
    }
    TerminalHost host;
    PageContext context{*bank->store, bank->dataFolder, host};
    NoProgress progress;
    const std::string printFile =
        ComposePrintFile(context, *nodes, *range, args.withAnswers, progress);
    // The program still prints a file cut short by an error; a script is
    // given no path of a file that is not whole.
    if (printFile.empty() || host.Failed()) {
        return 1;
    }
    std::printf("%s\n", printFile.c_str());
    return !args.pdfFile.empty() && !RenderPdf(printFile, args.pdfFile) ? 1 : 0;
}

int RunAnalyze(const Args& args) {
    std::optional<OpenedBank> bank = OpenBank(args[0]);
    if (!bank) {
        return 1;
    }
    TerminalHost host;
    PageContext context{*bank->store, bank->dataFolder, host};
    const std::optional<std::string> page =
        BuildClassicAnalysis(context, ClassicPageVariant::Command, {});
    if (!page) {
        return 1;
    }
    std::printf("%s\n", page->c_str());
    return 0;
}

}  // namespace

Command AddShowCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand("show",
                                            "compose the page an internal link shows "
                                            "(Quillory://Paper:100001, ...) and print its path");
    auto args = std::make_shared<ShowArgs>();
    command->add_option("DATAFILE", args->dataFile)->required();
    command->add_option("LINK", args->link)->required();
    command
        ->add_option("--now", args->now,
                     "the date and time the summary's 7- and 30-day rates count back from "
                     "(default: now)")
        ->type_name("\"YYYY-MM-DD HH:MM:SS\"");
    return {command, [args] { return RunShow(*args); }};
}

Command AddAnalyzeCommand(CLI::App& tool) {
    return AddWordsCommand(tool, "analyze",
                           "weigh the knowledge points over the reference papers, store the "
                           "weights and print the path of the page that lists them",
                           {"DATAFILE"}, RunAnalyze);
}

Command AddPrintCommand(CLI::App& tool) {
    CLI::App* command = tool.add_subcommand(
        "print",
        "compose the print file of a paper node and what lies below it, and print its path");
    auto args = std::make_shared<PrintArgs>();
    command->add_option("DATAFILE", args->dataFile)->required();
    command->add_option("NODE_ID", args->nodeId)->required()->check(DecimalNumber());
    command->add_flag("--answers", args->withAnswers, "with the answers");
    command->add_option("--pdf", args->pdfFile, "also render the print file to this PDF")
        ->type_name("FILE");
    return {command, [args] { return RunPrint(*args); }};
}

}  // namespace quillory::tool
