// The result of a select: walked row by row, read by column name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/store/date_time.h"

struct sqlite3_stmt;

namespace quillory {

class RowSet {
public:
    RowSet(RowSet&& other) noexcept;
    RowSet& operator=(RowSet&& other) noexcept;
    RowSet(const RowSet&) = delete;
    RowSet& operator=(const RowSet&) = delete;
    ~RowSet();

    // True when there is no current row: an empty result is AtEnd() at once.
    bool AtEnd() const { return atEnd_; }
    void Next();
    // The walk ended on an engine error rather than at the end of the rows.
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

    // Typed reads of the current row; a column name is matched without
    // regard to case, as the engine does. A NULL reads as 0 or "".
    int Int(std::string_view name) const;
    float Single(std::string_view name) const;
    bool Bool(std::string_view name) const;
    DateTime Date(std::string_view name) const;
    std::string Text(std::string_view name) const;

    int ColumnCount() const { return static_cast<int>(names_.size()); }
    const std::string& ColumnName(int index) const { return names_[static_cast<size_t>(index)]; }
    std::string TextAt(int index) const;

private:
    friend class DataStore;
    explicit RowSet(sqlite3_stmt* statement);
    int IndexOf(std::string_view name) const;
    int Require(std::string_view name) const;

    sqlite3_stmt* statement_ = nullptr;
    std::vector<std::string> names_;
    bool atEnd_ = true;
    std::string error_;
};

}  // namespace quillory
