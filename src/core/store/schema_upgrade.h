// Bringing an open data file to the format of this program.
#pragma once

#include "core/common/result.h"

namespace quillory {

class DataStore;

// The file's format version; NewerFile when it is newer than this program.
Result<int> ReadableSchemaVersion(DataStore& store);

// Runs the upgrade steps from the file's version up to kSchemaVersion in one
// transaction and then sets the file's version; writes nothing when no step
// is due. NewerFile, or UpgradeFailed for a step that fails; then nothing
// is written.
Status UpgradeSchema(DataStore& store);

}  // namespace quillory
