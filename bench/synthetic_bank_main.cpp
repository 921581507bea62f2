// quillory-synthetic-bank PATH: the benchmarks' large bank as a data file
// with its page folders, to try the program and the tool on.
#include <cstdio>
#include <filesystem>

#include "synthetic_bank.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillory-synthetic-bank PATH\n");
        return 2;
    }
    const std::filesystem::path path = std::filesystem::absolute(argv[1]);
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        std::fprintf(stderr, "quillory-synthetic-bank: %s exists already\n", path.c_str());
        return 1;
    }
    std::filesystem::create_directories(path.parent_path(), ec);
    const quillory::bench::BankSize size;
    if (!quillory::bench::MakeSyntheticBank(path.string(), size) ||
        !quillory::bench::WriteSyntheticPages(path.parent_path().string(), size)) {
        std::fprintf(stderr, "quillory-synthetic-bank: could not write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
