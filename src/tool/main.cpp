// quillory-tool: the core of the program for bank authors, teachers and
// scripts, without windows.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(const quillory::tool::Args&);
};

const Command kCommands[] = {
    {"new", "new DATAFILE", "make a new, empty data file from the template",
     quillory::tool::RunNew},
    {"sql", "sql DATAFILE STATEMENT",
     "run one statement; a select prints a header line and tab-separated rows",
     quillory::tool::RunSql},
    {"build-bank", "build-bank SOURCE_DIR DATAFILE",
     "make a new data file from a bank source folder (tables and pages)",
     quillory::tool::RunBuildBank},
    {"check", "check DATAFILE",
     "list what is wrong in a bank (missing pages, bad IDs and references, answer forms)",
     quillory::tool::RunCheck},
    {"show", "show DATAFILE LINK",
     "compose the page an internal link shows (Quillory://Paper:100001, ...) and print its path",
     quillory::tool::RunShow},
    {"print", "print DATAFILE NODE_ID [--answers] [--pdf FILE]",
     "compose the print file of a paper node and what lies below it, and print its path",
     quillory::tool::RunPrint},
    {"template", "template FILE", "write the empty template database (the build uses this)",
     quillory::tool::RunTemplate},
};

void PrintHelp() {
    std::printf("用法: quillory-tool COMMAND ARGUMENTS...\n\nCommands:\n");
    for (const Command& command : kCommands) {
        std::printf("  %s\n      %s\n", command.usage, command.summary);
    }
    std::printf(
        "\nStatements are written as the program writes them: like '*x*', #2024-05-01#,\n"
        "true/false and \"delete * from\" are understood.\n"
        "\n"
        "show writes the page files beside their sources, as the program does, and\n"
        "leaves them there. print --pdf has the desktop program beside this tool\n"
        "render the print file (quillory --print-pdf PRINTFILE PDFFILE, which needs\n"
        "no display).\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        PrintHelp();
        return argc < 2 ? 2 : 0;
    }
    const quillory::tool::Args args(argv + 2, argv + argc);
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) == 0) {
            return command.run(args);
        }
    }
    std::fprintf(stderr, "quillory-tool: unknown command \"%s\" (see quillory-tool --help)\n",
                 argv[1]);
    return 2;
}
