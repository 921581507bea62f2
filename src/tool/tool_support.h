// What the commands of quillory-tool share: checks of option values and
// opening a data file with the program's own message.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "core/generation/paper_generation.h"
#include "core/store/data_store.h"
#include "core/store/date_time.h"

namespace quillory::tool {

// An option value that must be a decimal number ("010" is ten, not an
// octal eight).
CLI::Validator DecimalNumber();

struct OpenedBank {
    std::unique_ptr<DataStore> store;
    std::string dataFolder;  // absolute
};

// The local time an option such as --now gives, or the present one when it
// was not given; false, after saying why, when it is no
// "YYYY-MM-DD HH:MM:SS".
bool ReadNowOption(const std::string& text, DateTime& now);

// Nothing, after saying "无法打开数据库!" with the reason, when the file does
// not open.
std::optional<OpenedBank> OpenBank(const std::string& file);

using Generation = std::function<Result<GeneratedPaper>(GenerationContext&)>;

// Runs one generation with a quiet host and prints the rows it made, tab
// apart, then each message the program would have shown ("MSG\t" text);
// the exit status (1, after the reason, when nothing was made).
int GenerateAndPrint(OpenedBank& bank, const Generation& generate);

}  // namespace quillory::tool
