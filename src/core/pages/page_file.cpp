#include "core/pages/page_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/common/file_error.h"
#include "core/common/whole_file.h"
#include "core/host/host.h"

namespace quillory {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::optional<std::string> ReadSourcePage(const std::string& path, Host& host) {
    WholeFile source = ReadWholeFile(path);
    if (source.result == FileRead::CannotOpen) {
        host.Message("无法打开文件" + path, MessageIcon::Error);
        return std::string();
    }
    if (source.result == FileRead::Failed) {
        host.Message(FileErrorText(path, source.error), MessageIcon::Error);
        return std::nullopt;
    }
    const size_t nul = source.bytes.find('\0');
    if (nul != std::string::npos) {
        source.bytes.resize(nul);
    }
    return std::move(source.bytes);
}

std::string ComposedPagePath(const std::string& sourcePath) {
    return sourcePath.empty() ? sourcePath : sourcePath.substr(0, sourcePath.size() - 1);
}

bool WriteComposedPage(const std::string& path, std::string_view content, Host& host) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        host.Message("不能写入文件" + path, MessageIcon::Error);
        return true;
    }
    // A full disk may show only when the file is closed.
    if (std::fwrite(content.data(), 1, content.size(), file.get()) != content.size() ||
        std::fclose(file.release()) != 0) {
        host.Message(FileErrorText(path, errno), MessageIcon::Error);
        return false;
    }
    return true;
}

void ShowComposedPage(const std::string& path, Host& host) {
    host.Navigate(path);
    host.AddGeneratedFile(path);
}

}  // namespace quillory
