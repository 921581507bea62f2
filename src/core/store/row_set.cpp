#include "core/store/row_set.h"

#include <sqlite3.h>

#include <utility>

#include "core/common/text.h"
#include "core/store/jet_values.h"

namespace quillory {

RowSet::RowSet(sqlite3_stmt* statement) : statement_(statement) {
    const int count = sqlite3_column_count(statement_);
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(statement_, i);
        names_.emplace_back(name ? name : "");
    }
    atEnd_ = false;
    Next();
}

RowSet::RowSet(RowSet&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)),
      names_(std::move(other.names_)),
      atEnd_(std::exchange(other.atEnd_, true)),
      error_(std::move(other.error_)) {}

RowSet& RowSet::operator=(RowSet&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        names_ = std::move(other.names_);
        atEnd_ = std::exchange(other.atEnd_, true);
        error_ = std::move(other.error_);
    }
    return *this;
}

RowSet::~RowSet() {
    sqlite3_finalize(statement_);
}

void RowSet::Next() {
    if (atEnd_ || statement_ == nullptr) {
        atEnd_ = true;
        return;
    }
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        return;
    }
    atEnd_ = true;
    if (rc != SQLITE_DONE) {
        const char* message = sqlite3_errmsg(sqlite3_db_handle(statement_));
        error_ = message ? message : "database error";
    }
}

int RowSet::IndexOf(std::string_view name) const {
    // Asked for every column of every row: no copy of the name.
    for (size_t i = 0; i < names_.size(); ++i) {
        if (EqualsNoCase(names_[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// A read of a column the statement does not have, or past the end, reads as
// NULL; the caller's query text is at fault, not the data.
int RowSet::Require(std::string_view name) const {
    return atEnd_ ? -1 : IndexOf(name);
}

int RowSet::Int(std::string_view name) const {
    const int i = Require(name);
    if (i < 0 || sqlite3_column_type(statement_, i) == SQLITE_NULL) {
        return 0;
    }
    const sqlite3_int64 value = sqlite3_column_int64(statement_, i);
    return static_cast<int>(static_cast<unsigned int>(value));
}

float RowSet::Single(std::string_view name) const {
    const int i = Require(name);
    return i < 0 ? 0.0f : static_cast<float>(sqlite3_column_double(statement_, i));
}

bool RowSet::Bool(std::string_view name) const {
    const int i = Require(name);
    return i >= 0 && IsJetTrue(statement_, i);
}

DateTime RowSet::Date(std::string_view name) const {
    DateTime value;
    ParseDateTime(Text(name), value);
    return value;
}

std::string RowSet::Text(std::string_view name) const {
    return TextAt(Require(name));
}

std::string RowSet::TextAt(int index) const {
    if (index < 0 || atEnd_) {
        return {};
    }
    const unsigned char* text = sqlite3_column_text(statement_, index);
    if (text == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(statement_, index)));
}

}  // namespace quillory
