#include "core/practice/exam_progress.h"

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "core/common/atomic_file.h"
#include "core/common/file_error.h"
#include "core/common/text.h"
#include "core/common/whole_file.h"

namespace quillory {

namespace {

constexpr char kHeader[] = "Quillory exam progress 1";
constexpr char kEnd[] = "end";

// One line per value: line breaks in an answer are written as "\r" and "\n".
std::string Escape(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            plain += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
            case '\\':
                plain += '\\';
                break;
            case 'r':
                plain += '\r';
                break;
            case 'n':
                plain += '\n';
                break;
            default:
                return std::nullopt;
        }
    }
    return plain;
}

// Written shortest and read back exactly, whatever the locale.
std::string ScoreText(float score) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, score);
    return std::string(buffer, result.ptr);
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// Reads the lines of the file in order.
class Lines {
public:
    explicit Lines(std::string_view text) : lines_(SplitString(text, "\n")) {}

    // The rest of the next line after "key ", if the line is one.
    std::optional<std::string_view> Value(std::string_view key) {
        if (next_ >= lines_.size()) {
            return std::nullopt;
        }
        std::string_view line = lines_[next_];
        if (line.size() <= key.size() || !StartsWith(line, key) || line[key.size()] != ' ') {
            return std::nullopt;
        }
        ++next_;
        return line.substr(key.size() + 1);
    }
    template <typename Target>
    bool Number(std::string_view key, Target& value) {
        const std::optional<std::string_view> text = Value(key);
        return text && ReadNumber(*text, value);
    }
    bool Exactly(std::string_view line) {
        if (next_ >= lines_.size() || lines_[next_] != line) {
            return false;
        }
        ++next_;
        return true;
    }
    // Only the empty piece after the last line break may follow.
    bool AtEnd() const { return next_ + 1 == lines_.size() && lines_[next_].empty(); }

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

// "<paper item ID> <question ID> <score> <0|1> <answer>"
std::optional<ExamProgress::Item> ParseItem(std::string_view text) {
    std::vector<std::string_view> fields;
    for (int i = 0; i < 4; ++i) {
        const size_t space = text.find(' ');
        if (space == std::string_view::npos) {
            return std::nullopt;
        }
        fields.push_back(text.substr(0, space));
        text.remove_prefix(space + 1);
    }
    ExamProgress::Item item;
    int byHand = 0;
    if (!ReadNumber(fields[0], item.paperItemId) || !ReadNumber(fields[1], item.questionId) ||
        !ReadNumber(fields[2], item.learnerScore) || !ReadNumber(fields[3], byHand) ||
        (byHand != 0 && byHand != 1)) {
        return std::nullopt;
    }
    item.scoredByHand = byHand == 1;
    std::optional<std::string> answer = Unescape(text);
    if (!answer) {
        return std::nullopt;
    }
    item.learnerAnswer = std::move(*answer);
    return item;
}

}  // namespace

std::string ExamProgressPath(const std::string& dataFile) {
    return dataFile + ".exam";
}

std::string FormatExamProgress(const ExamProgress& progress) {
    std::string text = std::string(kHeader) + "\n";
    text += Format("root %d\nstate %d\nnode %d\nseconds %d\ncursor %zu\nitems %zu\n",
                   progress.rootNodeId, static_cast<int>(progress.state), progress.currentNodeId,
                   progress.secondsLeft, progress.cursor, progress.items.size());
    for (const ExamProgress::Item& item : progress.items) {
        text += Format("item %d %d %s %d ", item.paperItemId, item.questionId,
                       ScoreText(item.learnerScore).c_str(), item.scoredByHand ? 1 : 0);
        text += Escape(item.learnerAnswer) + "\n";
    }
    return text + kEnd + "\n";
}

std::optional<ExamProgress> ParseExamProgress(std::string_view text) {
    Lines lines(text);
    ExamProgress progress;
    int state = 0;
    size_t count = 0;
    if (!lines.Exactly(kHeader) || !lines.Number("root", progress.rootNodeId) ||
        !lines.Number("state", state) || !lines.Number("node", progress.currentNodeId) ||
        !lines.Number("seconds", progress.secondsLeft) ||
        !lines.Number("cursor", progress.cursor) || !lines.Number("items", count)) {
        return std::nullopt;
    }
    if (state != static_cast<int>(ExamState::Answering) &&
        state != static_cast<int>(ExamState::Scoring)) {
        return std::nullopt;
    }
    progress.state = static_cast<ExamState>(state);
    // The count is checked against the lines there are before any is kept.
    for (size_t i = 0; i < count; ++i) {
        const std::optional<std::string_view> line = lines.Value("item");
        std::optional<ExamProgress::Item> item = line ? ParseItem(*line) : std::nullopt;
        if (!item) {
            return std::nullopt;
        }
        progress.items.push_back(std::move(*item));
    }
    if (!lines.Exactly(kEnd) || !lines.AtEnd() || progress.cursor > progress.items.size()) {
        return std::nullopt;
    }
    return progress;
}

int WriteExamProgress(const std::string& path, const ExamProgress& progress) {
    return WriteFileAtomically(path, FormatExamProgress(progress));
}

ReadProgress ReadExamProgress(const std::string& path) {
    ReadProgress read;
    const WholeFile file = ReadWholeFile(path);
    if (file.result != FileRead::Read) {
        if (file.result == FileRead::CannotOpen && file.error == ENOENT) {
            return read;
        }
        read.result = ProgressRead::Damaged;
        read.reason = FileErrorText(path, file.error);
        return read;
    }
    std::optional<ExamProgress> progress = ParseExamProgress(file.bytes);
    if (!progress) {
        read.result = ProgressRead::Damaged;
        read.reason = path;
        return read;
    }
    read.result = ProgressRead::Read;
    read.progress = std::move(*progress);
    return read;
}

void RemoveExamProgress(const std::string& path) {
    std::remove(path.c_str());
}

}  // namespace quillory
