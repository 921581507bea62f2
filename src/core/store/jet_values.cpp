#include "core/store/jet_values.h"

#include <sqlite3.h>

#include <cstdlib>

#include "core/common/text.h"
#include "core/store/date_time.h"

namespace quillory {

namespace {

std::string_view TextOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(value)))
                : std::string_view();
}

bool IsTrue(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            return sqlite3_value_int64(value) != 0;
        case SQLITE_FLOAT:
            return sqlite3_value_double(value) != 0.0;
        case SQLITE_TEXT: {
            const std::string word = ToLowerAscii(Trim(TextOf(value)));
            if (word == "true" || word == "yes" || word == "on") {
                return true;
            }
            char* end = nullptr;
            const double number = std::strtod(word.c_str(), &end);
            return !word.empty() && end == word.c_str() + word.size() && number != 0.0;
        }
        default:
            return false;
    }
}

void JetTrue(sqlite3_context* context, int, sqlite3_value** values) {
    sqlite3_result_int(context, IsTrue(values[0]) ? 1 : 0);
}

void JetDate(sqlite3_context* context, int, sqlite3_value** values) {
    if (sqlite3_value_type(values[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const std::string text = JetDateText(TextOf(values[0]));
    sqlite3_result_text(context, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

bool IsJetTrue(sqlite3_stmt* statement, int column) {
    return IsTrue(sqlite3_column_value(statement, column));
}

std::string JetDateText(std::string_view text) {
    DateTime value;
    if (!ParseDateTime(text, value)) {
        return std::string(text);
    }
    if (value.year == 0) {
        value.year = 1899;
        value.month = 12;
        value.day = 30;
    }
    return FormatDate(value) + " " + FormatTime(value);
}

void RegisterJetFunctions(sqlite3* db) {
    sqlite3_create_function(db, kJetTrueFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            JetTrue, nullptr, nullptr);
    sqlite3_create_function(db, kJetDateFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                            JetDate, nullptr, nullptr);
}

}  // namespace quillory
