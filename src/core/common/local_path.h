// Page locations, as the tables hold them (Url, AnswerUrl): local ones are
// relative to the data folder; "http:", "https:" and "ftp:" ones are handed
// to the browser unchanged.
#pragma once

#include <string>
#include <string_view>

namespace quillory {

// Trimmed, not empty, and beginning with none of "http:", "https:" and
// "ftp:" (any case). "https:" counts as remote too: read as a folder under
// the data folder it could only ever name a missing file.
bool IsLocalPath(std::string_view location);

// The path with ".", ".." and every symbolic link worked out (the part that
// does not exist yet taken as written); empty when it cannot be worked out.
std::string ResolvedPath(const std::string& path);

// Whether path lies below folder once both are resolved, so that neither
// ".." nor a symbolic link inside the folder leads out of it. A path that
// cannot be resolved does not.
bool LiesInFolder(const std::string& folder, const std::string& path);

enum class LocationKind {
    None,     // empty once trimmed: there is no page
    Remote,   // an address for the browser
    Local,    // a file in the data folder
    Outside,  // a local location that leads out of the data folder
};

struct PageLocation {
    LocationKind kind = LocationKind::None;
    std::string address;  // the location trimmed, as written
    std::string path;     // Local and Outside: the file it names
};

// The one reading of a location: trimmed; a local one is joined to the data
// folder with any "\" read as "/" (banks made on Windows write them), and is
// Outside when it does not lie in the data folder (LiesInFolder). Pages are
// written beside their sources and rows name files that are deleted, so
// nothing outside the folder is ever read or touched.
PageLocation ResolveLocation(const std::string& dataFolder, std::string_view location);

// The location of name as a page at pageLocation refers to it: in the
// page's folder.
std::string LocationBeside(std::string_view pageLocation, std::string_view name);

}  // namespace quillory
