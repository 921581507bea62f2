#include "tool_support.h"

#include <cstdio>
#include <filesystem>

namespace quillory::tool {

bool WrongArgs(const Args& args, size_t count, const char* usage) {
    if (args.size() == count) {
        return false;
    }
    std::fprintf(stderr, "用法: quillory-tool %s\n", usage);
    return true;
}

std::optional<OpenedBank> OpenBank(const std::string& file) {
    std::string error;
    OpenedBank bank{DataStore::Open(file, &error), {}};
    if (!bank.store) {
        std::fprintf(stderr, "quillory-tool: 无法打开数据库! (%s: %s)\n", file.c_str(),
                     error.c_str());
        return std::nullopt;
    }
    std::error_code ec;
    bank.dataFolder = std::filesystem::absolute(file, ec).lexically_normal().parent_path().string();
    return bank;
}

}  // namespace quillory::tool
