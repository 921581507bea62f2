#include "core/bank/bank_source.h"

#include <climits>
#include <map>
#include <utility>

#include "core/bank/utf8_check.h"
#include "core/common/text.h"

namespace quillory {

std::string BankError::Text() const {
    if (line > 0) {
        return Format("%s:%d: %s", file.c_str(), line, message.c_str());
    }
    return file + ": " + message;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// [+-]digits, within 32 bits.
bool ParseWholeNumber(std::string_view text, int* value) {
    size_t at = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (at == text.size()) {
        return false;
    }
    long long number = 0;
    for (; at < text.size(); ++at) {
        if (!IsDigit(text[at])) {
            return false;
        }
        number = number * 10 + (text[at] - '0');
        if (number > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    if (text[0] == '-') {
        number = -number;
    }
    if (number < INT_MIN || number > INT_MAX) {
        return false;
    }
    if (value != nullptr) {
        *value = static_cast<int>(number);
    }
    return true;
}

// [+-]digits[.digits]: the form every reader of a bank understands.
bool IsDecimal(std::string_view text) {
    size_t at = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    const size_t digitsStart = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    if (at == digitsStart) {
        return false;
    }
    if (at < text.size() && text[at] == '.') {
        const size_t fractionStart = ++at;
        while (at < text.size() && IsDigit(text[at])) {
            ++at;
        }
        if (at == fractionStart) {
            return false;
        }
    }
    return at == text.size();
}

// The value as it is stored, or an error message.
bool NormalizeValue(const BankColumn& column, std::string& value, std::string& message) {
    switch (column.kind) {
        case ColumnKind::Integer:
            if (!ParseWholeNumber(value, nullptr)) {
                message = Format("%s: \"%s\" is not a whole number", column.name, value.c_str());
                return false;
            }
            return true;
        case ColumnKind::Real:
            if (!IsDecimal(value)) {
                message = Format("%s: \"%s\" is not a number (decimals are written with \".\")",
                                 column.name, value.c_str());
                return false;
            }
            return true;
        case ColumnKind::Boolean:
            if (EqualsNoCase(value, "true") || value == "1") {
                value = "1";
            } else if (EqualsNoCase(value, "false") || value == "0") {
                value = "0";
            } else {
                message =
                    Format("%s: \"%s\" is not true, false, 1 or 0", column.name, value.c_str());
                return false;
            }
            return true;
        case ColumnKind::Text:
            return true;
    }
    return true;
}

class Parser {
public:
    Parser(const std::string& fileName, std::vector<BankRecord>& records, BankError* error)
        : file_(fileName), records_(records), error_(error) {
        for (size_t i = 0; i < records_.size(); ++i) {
            seen_.emplace(std::pair{records_[i].table, records_[i].id}, i);
        }
    }

    bool Run(std::string_view text) {
        if (StartsWith(text, "\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        int number = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            ++number;
            if (!IsValidUtf8(line)) {
                return Fail(number, "not valid UTF-8 (table files are UTF-8 text)");
            }
            // The engine would cut the value there.
            if (line.find('\0') != std::string_view::npos) {
                return Fail(number, "a NUL byte (table files are text)");
            }
            if (!Line(line, number)) {
                return false;
            }
            start = end + 1;
        }
        if (multiLine_ != nullptr) {
            return Fail(multiLine_->line,
                        Format("\"%s <<\" has no closing \">>\" line", multiLine_->column->name));
        }
        return true;
    }

private:
    bool Line(std::string_view line, int number) {
        if (multiLine_ != nullptr) {
            if (line == ">>") {
                return FinishValue(*multiLine_);
            }
            if (multiLineStarted_) {
                multiLine_->text += "\r\n";
            }
            multiLine_->text += line;
            multiLineStarted_ = true;
            return true;
        }
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            return true;
        }
        if (trimmed[0] == '[') {
            return Header(trimmed, number);
        }
        if (records_.size() == firstOwnRecord_) {
            return Fail(number, "text outside a record (a record begins with [Table ID])");
        }
        return Assignment(trimmed, number);
    }

    bool Header(const std::string& trimmed, int number) {
        const std::vector<std::string> words =
            trimmed.back() == ']' ? SplitWords(trimmed.substr(1, trimmed.size() - 2))
                                  : std::vector<std::string>{};
        if (words.size() != 2) {
            return Fail(number, "a record header is written [Table ID]");
        }
        const BankTable* table = FindBankTable(words[0]);
        if (table == nullptr) {
            return Fail(number,
                        Format("unknown table \"%s\" (QuestionType, Knowledge, Question, Paper or "
                               "PaperTemplate)",
                               words[0].c_str()));
        }
        int id = 0;
        if (!ParseWholeNumber(words[1], &id)) {
            return Fail(number, Format("\"%s\" is not a whole number ID", words[1].c_str()));
        }
        const auto [at, added] = seen_.emplace(std::pair{table, id}, records_.size());
        if (!added) {
            const BankRecord& first = records_[at->second];
            return Fail(number, Format("%s %d appears twice (first at %s:%d)", table->name, id,
                                       first.file.c_str(), first.line));
        }
        records_.push_back(BankRecord{table, id, file_, number, {}});
        return true;
    }

    bool Assignment(const std::string& trimmed, int number) {
        BankRecord& record = records_.back();
        std::string name;
        std::string value;
        bool multi = false;
        const size_t equals = trimmed.find('=');
        if (equals == std::string::npos && EndsWith(trimmed, "<<")) {
            name = Trim(std::string_view(trimmed).substr(0, trimmed.size() - 2));
            multi = true;
        } else if (equals != std::string::npos) {
            name = Trim(std::string_view(trimmed).substr(0, equals));
            value = Trim(std::string_view(trimmed).substr(equals + 1));
        } else {
            return Fail(number, "expected \"Column = value\" or \"Column <<\"");
        }
        if (EqualsNoCase(name, "ID")) {
            return Fail(number, "the ID is given in the record header, not as a column");
        }
        const BankColumn* column = FindBankColumn(*record.table, name);
        if (column == nullptr) {
            return Fail(number,
                        Format("\"%s\" is not a column of %s", name.c_str(), record.table->name));
        }
        for (const BankValue& earlier : record.values) {
            if (earlier.column == column) {
                return Fail(number, Format("%s is given twice in this record (first at line %d)",
                                           column->name, earlier.line));
            }
        }
        record.values.push_back(BankValue{column, std::move(value), number});
        if (multi) {
            multiLine_ = &record.values.back();
            multiLineStarted_ = false;
            return true;
        }
        return FinishValue(record.values.back());
    }

    bool FinishValue(BankValue& value) {
        multiLine_ = nullptr;
        std::string message;
        if (!NormalizeValue(*value.column, value.text, message)) {
            return Fail(value.line, message);
        }
        return true;
    }

    static std::vector<std::string> SplitWords(const std::string& text) {
        std::vector<std::string> words;
        size_t at = 0;
        while (at < text.size()) {
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
                ++at;
            }
            const size_t start = at;
            while (at < text.size() && text[at] != ' ' && text[at] != '\t') {
                ++at;
            }
            if (at > start) {
                words.push_back(text.substr(start, at - start));
            }
        }
        return words;
    }

    bool Fail(int line, std::string message) {
        if (error_ != nullptr) {
            *error_ = BankError{file_, line, std::move(message)};
        }
        return false;
    }

    const std::string& file_;
    std::vector<BankRecord>& records_;
    BankError* error_;
    const size_t firstOwnRecord_ = records_.size();
    std::map<std::pair<const BankTable*, int>, size_t> seen_;
    BankValue* multiLine_ = nullptr;  // the value a "Column <<" line opened
    bool multiLineStarted_ = false;
};

}  // namespace

bool ParseBankText(std::string_view text, const std::string& fileName,
                   std::vector<BankRecord>& records, BankError* error) {
    return Parser(fileName, records, error).Run(text);
}

}  // namespace quillory
