// quillory-synthetic-bank [--learner] PATH: the benchmarks' large bank as a
// data file with its page folders, to try the program and the tool on. Its
// History rows are each a record of its own (the stress case), or with
// --learner the exams of a learner who practised for two years.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "synthetic_bank.h"

int main(int argc, char** argv) {
    const bool learner = argc == 3 && std::strcmp(argv[1], "--learner") == 0;
    if (argc != 2 && !learner) {
        std::fprintf(stderr, "usage: quillory-synthetic-bank [--learner] PATH\n");
        return 2;
    }
    const std::filesystem::path path = std::filesystem::absolute(argv[argc - 1]);
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        std::fprintf(stderr, "quillory-synthetic-bank: %s exists already\n", path.c_str());
        return 1;
    }
    std::filesystem::create_directories(path.parent_path(), ec);
    quillory::bench::BankSize size;
    size.learner = learner;
    if (!quillory::bench::MakeSyntheticBank(path.string(), size) ||
        !quillory::bench::WriteSyntheticPages(path.parent_path().string(), size)) {
        std::fprintf(stderr, "quillory-synthetic-bank: could not write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
