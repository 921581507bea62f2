#include <string_view>

#include "core/exchange/question_writers.h"

namespace quillory {

namespace {

// Quoted when a comma, a quote or a line break would end it early, or when
// white space at an end would be trimmed; quotes inside doubled.
std::string CsvCell(std::string_view text) {
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                        (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quoted) {
        return std::string(text);
    }
    std::string cell = "\"";
    for (char c : text) {
        cell += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return cell + "\"";
}

}  // namespace

std::string CsvBytes(const QuestionSheets& sheets) {
    std::string bytes = "\xEF\xBB\xBF";
    if (sheets.sheets.empty()) {
        return bytes;
    }
    for (const std::vector<std::string>& row : sheets.sheets.front().rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            bytes += (c == 0 ? "" : ",") + CsvCell(row[c]);
        }
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace quillory
