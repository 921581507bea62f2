#include "core/store/ids.h"

#include "core/store/data_store.h"

namespace quillory {

namespace {

bool MaxId(DataStore& store, const char* sql, int& value) {
    auto rows = store.Query(sql);
    if (!rows) {
        return false;
    }
    value = rows->AtEnd() ? 0 : rows->Int("max_id");
    return true;
}

}  // namespace

int NextPaperID(DataStore& store) {
    int m = 0;
    if (!MaxId(store, "select MAX(ID) as max_id from Paper", m)) {
        return 0;
    }
    return (m > 550000 ? m : 550000) + 1;
}

int NextHistoryID(DataStore& store) {
    int m = 0;
    if (!MaxId(store, "select MAX(ID) as max_id from History", m)) {
        return 0;
    }
    return (m == 0 ? 700000 : m) + 1;
}

}  // namespace quillory
