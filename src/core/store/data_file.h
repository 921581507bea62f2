// Choosing, creating and opening a learner's data file: its names, its
// folder and the page folders beside it.
#pragma once

#include <memory>
#include <string>

#include "core/store/data_store.h"

namespace quillory {

inline constexpr char kProductName[] = "穹岚";
inline constexpr const char* kPageFolders[] = {"Knowledge", "Question", "Help"};

// The characters after the last "/" and before the last "." of a full path
// (to the end when there is no "."); empty when the last "." comes before the
// last "/".
std::string DataFileTitle(const std::string& fullPath);
// "穹岚 - " + title.
std::string ApplicationTitle(const std::string& dataFileTitle);

// Where the template lives: <program folder>/Template/Template.dat and
// <program folder>/Template/common.
std::string TemplateFolder(const std::string& programFolder);

// Makes a new data file from the template: copies Template.dat (refusing an
// existing target) and gives each page folder its own copy of "common",
// breadth-first, never overwriting a file. FileAccess, with the system's
// reason and no file left behind, when the template could not be copied;
// folder and file copies report nothing.
Status CreateFromTemplate(const std::string& programFolder, const std::string& dataFile);

struct OpenedDataFile {
    std::unique_ptr<DataStore> store;
    std::string fullPath;
    std::string dataFolder;
    std::string title;
    std::string applicationTitle;
    bool created = false;
};

// Whether a name that does not exist yet makes a new data file: yes for a
// name the learner chose as new, no for one typed on a command line, where a
// typing mistake must not leave an empty bank behind.
enum class CreateIfMissing { No, Yes };

// Opens fileName, first making it from the template when it does not exist
// and create says so. Fails as DataStore::Open does, and with FileMissing
// for an empty name or a missing file that is not to be made.
Result<OpenedDataFile> OpenDataFile(const std::string& fileName, const std::string& programFolder,
                                    CreateIfMissing create);

}  // namespace quillory
