#include "core/common/whole_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quillory {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

WholeFile ReadWholeFile(const std::string& path) {
    WholeFile whole;
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        whole.error = errno;
        return whole;
    }
    // A folder opens for reading on Linux; only its read fails.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
        whole.error = EISDIR;
        return whole;
    }
    char buffer[65536];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        whole.bytes.append(buffer, count);
    }
    if (std::ferror(file.get())) {
        whole.result = FileRead::Failed;
        whole.error = errno;
        whole.bytes.clear();
        return whole;
    }
    whole.result = FileRead::Read;
    return whole;
}

}  // namespace quillory
