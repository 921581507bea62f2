#include "tool_support.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/common/legacy_random.h"
#include "core/host/host.h"
#include "core/host/kept_messages.h"
#include "core/host/no_progress.h"

namespace quillory::tool {

Command AddWordsCommand(CLI::App& tool, const char* name, const char* summary,
                        std::vector<const char*> words, int (*run)(const Args& args)) {
    CLI::App* command = tool.add_subcommand(name, summary);
    auto args = std::make_shared<Args>(words.size());
    for (size_t i = 0; i < words.size(); ++i) {
        command->add_option(words[i], (*args)[i])->required();
    }
    return {command, [args, run] { return run(*args); }};
}

CLI::Validator DecimalNumber() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const size_t digits = text.rfind('-', 0) == 0 ? 1 : 0;
            if (text.size() == digits ||
                text.find_first_not_of("0123456789", digits) != std::string::npos) {
                return "\"" + text + "\" is not a decimal number";
            }
            // The conversion reads a leading 0 as octal.
            const size_t first = text.find_first_not_of('0', digits);
            text.erase(digits, (first == std::string::npos ? text.size() - 1 : first) - digits);
            return {};
        },
        "NUMBER");
}

bool ReadNowOption(const std::string& text, DateTime& now) {
    if (text.empty()) {
        now = LocalNow();
        return true;
    }
    if (text.size() != 19 || !ParseDateTime(text, now)) {
        std::fprintf(stderr, "quillory-tool: --now \"%s\" is not YYYY-MM-DD HH:MM:SS\n",
                     text.c_str());
        return false;
    }
    return true;
}

std::optional<OpenedBank> OpenBank(const std::string& file) {
    Result<std::unique_ptr<DataStore>> store = DataStore::Open(file);
    if (!store) {
        std::fprintf(stderr, "quillory-tool: 无法打开数据库! (%s: %s)\n", file.c_str(),
                     store.error().detail.c_str());
        return std::nullopt;
    }
    OpenedBank bank{std::move(*store), {}};
    std::error_code ec;
    bank.dataFolder = std::filesystem::absolute(file, ec).lexically_normal().parent_path().string();
    return bank;
}

int GenerateAndPrint(OpenedBank& bank, const Generation& generate) {
    KeptMessages host;
    NoProgress progress;
    LegacyRandom random;
    GenerationContext context{*bank.store, bank.dataFolder, host, progress, random};
    const Result<GeneratedPaper> paper = generate(context);
    if (!paper) {
        // The words the program shows, as a learner would read them.
        const Error& error = paper.error();
        const char* words = error.code == ErrorCode::NotSaved   ? "无法保存试卷："
                            : error.code == ErrorCode::Database ? "无法生成试卷："
                                                                : "";
        std::fprintf(stderr, "quillory-tool: %s%s\n", words, error.detail.c_str());
        return 1;
    }
    for (const GeneratedRow& row : paper->rows) {
        std::printf("%d\t%d\t%d\t%f\t%d\t%s\t%s\t%d\t%d\n", row.id, row.superiorId, row.questionId,
                    row.score, row.timeLimit, row.title.c_str(), row.url.c_str(),
                    row.isQuestion ? 1 : 0, row.isSystem ? 1 : 0);
    }
    for (const KeptMessage& message : host.messages) {
        std::printf("MSG\t%s\n", message.text.c_str());
    }
    return 0;
}

}  // namespace quillory::tool
