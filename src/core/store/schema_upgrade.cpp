#include "core/store/schema_upgrade.h"

#include <array>
#include <span>

#include "core/common/text.h"
#include "core/store/data_store.h"
#include "core/store/schema.h"

namespace quillory {

namespace {

// One step brings a data file from version N to N + 1; kUpgradeSteps[N - 1]
// is that step. Each new format adds its step here and raises kSchemaVersion.
using UpgradeStep = bool (*)(DataStore& store);

bool AddImportedSource(DataStore& store) {
    for (const char* statement : kImportedSourceStatements) {
        if (!store.Execute(statement)) {
            return false;
        }
    }
    return true;
}

constexpr std::array<UpgradeStep, kSchemaVersion - 1> kUpgradeSteps = {AddImportedSource};

Error UpgradeFailure(const DataStore& store) {
    return {ErrorCode::UpgradeFailed, "the data file could not be upgraded: " + store.LastError()};
}

}  // namespace

Result<int> ReadableSchemaVersion(DataStore& store) {
    auto rows = store.Query("pragma user_version");
    if (!rows || rows->AtEnd()) {
        return store.LastFailure();
    }
    const int version = rows->Int("user_version");
    if (version > kSchemaVersion) {
        return Error{ErrorCode::NewerFile,
                     Format("the data file is of format %d, newer than this program's %d", version,
                            kSchemaVersion)};
    }
    return version;
}

Status UpgradeSchema(DataStore& store) {
    const Result<int> version = ReadableSchemaVersion(store);
    if (!version) {
        return version.status();
    }
    // Version 0 is the format of version 1.
    const int from = *version < 1 ? 1 : *version;
    if (from == kSchemaVersion) {
        return {};
    }
    Transaction transaction(store);
    if (!transaction.Active()) {
        return UpgradeFailure(store);
    }
    for (UpgradeStep step : std::span(kUpgradeSteps).subspan(static_cast<size_t>(from - 1))) {
        if (!step(store)) {
            return UpgradeFailure(store);
        }
    }
    if (!store.Execute(Format("pragma user_version=%d", kSchemaVersion)) || !transaction.Commit()) {
        return UpgradeFailure(store);
    }
    return {};
}

}  // namespace quillory
