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

void SetError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

}  // namespace

std::optional<int> ReadableSchemaVersion(DataStore& store, std::string* error) {
    auto rows = store.Query("pragma user_version");
    if (!rows || rows->AtEnd()) {
        SetError(error, store.LastError());
        return std::nullopt;
    }
    const int version = rows->Int("user_version");
    if (version > kSchemaVersion) {
        SetError(error, kNewerDataFileMessage);
        return std::nullopt;
    }
    return version;
}

bool UpgradeSchema(DataStore& store, std::string* error) {
    const std::optional<int> version = ReadableSchemaVersion(store, error);
    if (!version) {
        return false;
    }
    // Version 0 is the format of version 1.
    const int from = *version < 1 ? 1 : *version;
    if (from == kSchemaVersion) {
        return true;
    }
    Transaction transaction(store);
    if (!transaction.Active()) {
        SetError(error, "the data file could not be upgraded: " + store.LastError());
        return false;
    }
    for (UpgradeStep step : std::span(kUpgradeSteps).subspan(static_cast<size_t>(from - 1))) {
        if (!step(store)) {
            SetError(error, "the data file could not be upgraded: " + store.LastError());
            return false;
        }
    }
    if (!store.Execute(Format("pragma user_version=%d", kSchemaVersion)) || !transaction.Commit()) {
        SetError(error, "the data file could not be upgraded: " + store.LastError());
        return false;
    }
    return true;
}

}  // namespace quillory
