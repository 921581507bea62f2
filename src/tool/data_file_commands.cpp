// new, template, sql: making and querying data files.
#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "core/common/program_folder.h"
#include "core/store/data_file.h"
#include "core/store/data_store.h"
#include "tool_support.h"

namespace quillory::tool {

namespace {

// One cell of the sql output on one line: tab, line feed, carriage return and
// backslash are written as \t, \n, \r and \\.
std::string Cell(const std::string& text) {
    std::string cell;
    for (char c : text) {
        switch (c) {
            case '\t':
                cell += "\\t";
                break;
            case '\n':
                cell += "\\n";
                break;
            case '\r':
                cell += "\\r";
                break;
            case '\\':
                cell += "\\\\";
                break;
            default:
                cell += c;
        }
    }
    return cell;
}

int RunNew(const Args& args) {
    std::error_code ec;
    if (std::filesystem::exists(args[0], ec)) {
        std::fprintf(stderr, "quillory-tool: %s exists already; nothing was changed\n",
                     args[0].c_str());
        return 1;
    }
    if (const Status made = CreateFromTemplate(ProgramFolder(), args[0]); !made) {
        std::fprintf(stderr, "quillory-tool: cannot make %s from the template in %s/Template: %s\n",
                     args[0].c_str(), ProgramFolder().c_str(), made.error().detail.c_str());
        return 1;
    }
    if (const auto opened = DataStore::Open(args[0]); !opened) {
        std::fprintf(stderr, "quillory-tool: %s was made but does not open: %s\n", args[0].c_str(),
                     opened.error().detail.c_str());
        return 1;
    }
    std::printf("%s\n", std::filesystem::absolute(args[0], ec).c_str());
    return 0;
}

int RunTemplate(const Args& args) {
    if (const auto made = DataStore::Create(args[0]); !made) {
        std::fprintf(stderr, "quillory-tool: cannot write %s: %s\n", args[0].c_str(),
                     made.error().detail.c_str());
        return 1;
    }
    return 0;
}

int RunSql(const Args& args) {
    std::optional<OpenedBank> bank = OpenBank(args[0]);
    if (!bank) {
        return 1;
    }
    DataStore* store = bank->store.get();
    const std::string& statement = args[1];
    const bool isSelect =
        statement.find_first_not_of(" \t\r\n") != std::string::npos &&
        strncasecmp(statement.c_str() + statement.find_first_not_of(" \t\r\n"), "select", 6) == 0;
    if (!isSelect) {
        if (!store->Execute(statement)) {
            std::fprintf(stderr, "quillory-tool: %s\n", store->LastError().c_str());
            return 1;
        }
        return 0;
    }
    auto rows = store->Query(statement);
    if (!rows) {
        std::fprintf(stderr, "quillory-tool: %s\n", store->LastError().c_str());
        return 1;
    }
    for (int i = 0; i < rows->ColumnCount(); ++i) {
        std::printf("%s%s", i ? "\t" : "", rows->ColumnName(i).c_str());
    }
    std::printf("\n");
    for (; !rows->AtEnd(); rows->Next()) {
        for (int i = 0; i < rows->ColumnCount(); ++i) {
            std::printf("%s%s", i ? "\t" : "", Cell(rows->TextAt(i)).c_str());
        }
        std::printf("\n");
    }
    if (rows->Failed()) {
        std::fprintf(stderr, "quillory-tool: %s\n", rows->Error().c_str());
        return 1;
    }
    return 0;
}

}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    return ProgramFolderOf(
        std::filesystem::read_symlink("/proc/self/exe", ec).parent_path().string());
}

Command AddNewCommand(CLI::App& tool) {
    return AddWordsCommand(tool, "new", "make a new, empty data file from the template",
                           {"DATAFILE"}, RunNew);
}

Command AddTemplateCommand(CLI::App& tool) {
    return AddWordsCommand(tool, "template",
                           "write the empty template database (the build uses this)", {"FILE"},
                           RunTemplate);
}

Command AddSqlCommand(CLI::App& tool) {
    return AddWordsCommand(tool, "sql",
                           "run one statement; a select prints a header line and tab-separated "
                           "rows",
                           {"DATAFILE", "STATEMENT"}, RunSql);
}

}  // namespace quillory::tool
