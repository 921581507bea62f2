// Bringing an open data file to the format of this program.
#pragma once

#include <optional>
#include <string>

namespace quillory {

class DataStore;

inline constexpr char kNewerDataFileMessage[] = "数据文件的版本比本程序新，请升级程序。";

// The file's format version; nothing, with the reason in *error, when it
// cannot be read or is newer than this program.
std::optional<int> ReadableSchemaVersion(DataStore& store, std::string* error);

// Runs the upgrade steps from the file's version up to kSchemaVersion in one
// transaction and then sets the file's version; writes nothing when no step
// is due. False, with the reason in *error and nothing written, for a file
// newer than this program or a step that fails.
bool UpgradeSchema(DataStore& store, std::string* error);

}  // namespace quillory
