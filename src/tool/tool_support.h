// What the commands of quillory-tool share: the usage check and opening a
// data file with the program's own message.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "commands.h"
#include "core/store/data_store.h"

namespace quillory::tool {

// False when args has count words; otherwise prints "用法: quillory-tool " +
// usage and returns true.
bool WrongArgs(const Args& args, size_t count, const char* usage);

struct OpenedBank {
    std::unique_ptr<DataStore> store;
    std::string dataFolder;  // absolute
};

// Nothing, after saying "无法打开数据库!" with the reason, when the file does
// not open.
std::optional<OpenedBank> OpenBank(const std::string& file);

}  // namespace quillory::tool
