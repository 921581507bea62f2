#include "core/store/data_file.h"

#include <deque>
#include <filesystem>
#include <system_error>

namespace quillory {

namespace fs = std::filesystem;

std::string DataFileTitle(const std::string& fullPath) {
    const size_t slash = fullPath.find_last_of('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = fullPath.find_last_of('.');
    if (dot == std::string::npos) {
        return fullPath.substr(start);
    }
    if (dot < start) {
        return {};
    }
    return fullPath.substr(start, dot - start);
}

std::string ApplicationTitle(const std::string& dataFileTitle) {
    return std::string(kProductName) + " - " + dataFileTitle;
}

std::string TemplateFolder(const std::string& programFolder) {
    return programFolder + "/Template";
}

namespace {

void CopyCommonFolders(const fs::path& templateFolder, const fs::path& dataFolder) {
    std::error_code ec;
    for (const char* pages : kPageFolders) {
        fs::create_directory(dataFolder / pages, ec);
    }
    // Breadth-first from "common", as relative paths below the template.
    std::deque<fs::path> queue{"common"};
    while (!queue.empty()) {
        const fs::path folder = queue.front();
        queue.pop_front();
        for (const char* pages : kPageFolders) {
            fs::create_directory(dataFolder / pages / folder, ec);
        }
        // Stepping with the error code: a plain range-for would throw on a
        // folder that cannot be read.
        std::error_code walk;
        for (fs::directory_iterator it(templateFolder / folder, walk), end; !walk && it != end;
             it.increment(walk)) {
            const fs::directory_entry& entry = *it;
            const fs::path relative = folder / entry.path().filename();
            if (entry.is_directory(ec)) {
                queue.push_back(relative);
                continue;
            }
            for (const char* pages : kPageFolders) {
                fs::copy_file(entry.path(), dataFolder / pages / relative,
                              fs::copy_options::skip_existing, ec);
            }
        }
    }
}

}  // namespace

Status CreateFromTemplate(const std::string& programFolder, const std::string& dataFile) {
    const fs::path templateFolder = TemplateFolder(programFolder);
    std::error_code ec;
    if (fs::exists(dataFile, ec)) {
        return {ErrorCode::FileAccess, "the file exists already"};
    }
    if (!fs::copy_file(templateFolder / "Template.dat", dataFile, fs::copy_options::none, ec)) {
        // A copy cut short (a full disk) would later pass for an existing
        // data file; one that was there before is never touched.
        if (ec != std::errc::file_exists) {
            std::error_code ignored;
            fs::remove(dataFile, ignored);
        }
        return {ErrorCode::FileAccess, ec.message()};
    }
    fs::path folder = fs::absolute(dataFile, ec).parent_path();
    CopyCommonFolders(templateFolder, folder);
    return {};
}

Result<OpenedDataFile> OpenDataFile(const std::string& fileName, const std::string& programFolder,
                                    CreateIfMissing create) {
    OpenedDataFile result;
    std::error_code ec;
    if (fileName.empty()) {
        return Error{ErrorCode::FileMissing, "no data file was named"};
    }
    if (!fs::exists(fileName, ec)) {
        if (create == CreateIfMissing::No) {
            return Error{ErrorCode::FileMissing, "the data file does not exist"};
        }
        // A template that cannot be copied leaves no file: the open below
        // says it is missing.
        result.created = CreateFromTemplate(programFolder, fileName).ok();
    }
    const fs::path full = fs::absolute(fileName, ec).lexically_normal();
    result.fullPath = full.string();
    result.title = DataFileTitle(result.fullPath);
    result.applicationTitle = ApplicationTitle(result.title);
    result.dataFolder = full.parent_path().string();
    Result<std::unique_ptr<DataStore>> store = DataStore::Open(result.fullPath);
    if (!store) {
        return store.error();
    }
    result.store = std::move(*store);
    return result;
}

}  // namespace quillory
