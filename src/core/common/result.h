// Failures of the core's public functions as values: a code a caller can
// branch on, and a detail in English (for logs and the tool) naming the file,
// table or reason. The text a learner reads is chosen from the code at the
// window boundary, never by comparing details.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace quillory {

enum class ErrorCode {
    FileMissing,    // the named file does not exist
    WrongPassword,  // encrypted with another key, or no database at all
    NotDataFile,    // a database, but a table or column the program reads is missing
    DamagedFile,    // cut short or corrupt
    NewerFile,      // written by a newer program
    UpgradeFailed,  // could not be brought to this program's format
    FileAccess,     // a file could not be read or written
    Database,       // the engine refused a statement
    NotSaved,       // what was made could not be stored; none of it was kept
    BadInput,       // what the user or a file gave is malformed
    NotFound,       // a named paper, question, node or template does not exist
    NothingToDo,    // a valid request with nothing to act on (no questions to choose from)
};

struct Error {
    ErrorCode code = ErrorCode::Database;
    std::string detail;
};

// Success, or an Error.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Error error) : error_(std::move(error)), ok_(false) {}
    Status(ErrorCode code, std::string detail) : Status(Error{code, std::move(detail)}) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    // Only when !ok().
    const Error& error() const { return error_; }

private:
    Error error_;
    bool ok_ = true;
};

// A value, or an Error.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}
    Result(ErrorCode code, std::string detail) : v_(Error{code, std::move(detail)}) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    // Only when ok().
    T& value() & { return std::get<0>(v_); }
    const T& value() const& { return std::get<0>(v_); }
    T&& value() && { return std::get<0>(std::move(v_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    // Only when !ok().
    const Error& error() const { return std::get<1>(v_); }
    Status status() const { return ok() ? Status() : Status(error()); }

private:
    std::variant<T, Error> v_;
};

}  // namespace quillory
