#include "core/exchange/aiken_reader.h"

#include <vector>

#include "core/exchange/plain_text.h"

namespace quillory {

namespace {

// The next code point with full-width ASCII forms as ASCII.
char32_t NextFolded(std::string_view text, size_t& pos) {
    const char32_t c = NextCodePoint(text, pos);
    return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c;
}

std::string Html(std::string_view plain) {
    std::vector<MediaFile> none;
    return PlainToHtml(plain, nullptr, none);
}

struct Pending {
    int line = 0;  // the question's first line
    std::vector<std::string> stem;
    std::vector<std::string> options;
    bool bad = false;  // a problem is told already

    bool Empty() const { return stem.empty() && options.empty(); }
};

class AikenReader {
public:
    AikenReader(const std::string& fileName, ImportReading& reading)
        : fileName_(fileName), reading_(reading) {}

    void Line(std::string_view line, int number) {
        line = Trim(line);
        if (line.empty()) {
            return;
        }
        if (const auto answer = ReadAikenAnswer(line)) {
            Answer(*answer, number);
            return;
        }
        const auto option = ReadAikenOption(line);
        if (option && (!pending_.options.empty() || option->index == 0)) {
            if (pending_.Empty()) {
                pending_.line = number;
            }
            if (option->index != static_cast<int>(pending_.options.size())) {
                Refuse(number,
                       "选项字母不接着上一个选项（应为 " +
                           std::string(1, static_cast<char>('A' + pending_.options.size())) + "）");
                pending_.bad = true;
            }
            pending_.options.emplace_back(option->text);
            return;
        }
        if (!pending_.options.empty()) {
            Unfinished();
        }
        if (pending_.Empty()) {
            pending_.line = number;
        }
        pending_.stem.emplace_back(line);
    }

    void End() {
        if (!pending_.Empty()) {
            Unfinished();
        }
    }

private:
    void Refuse(int line, std::string text) {
        reading_.problems.push_back({{fileName_, "", 0, line}, std::move(text)});
    }

    void Unfinished() {
        if (!pending_.bad) {
            Refuse(pending_.line, "题目没有以“ANSWER: 字母”一行结束");
        }
        pending_ = {};
    }

    void Answer(const std::string& letter, int number) {
        if (pending_.Empty()) {
            Refuse(number, "答案出现在题目之前");
            return;
        }
        const Pending question = std::move(pending_);
        pending_ = {};
        if (question.bad) {
            return;
        }
        if (question.options.size() < 2) {
            Refuse(question.line, "选项少于两个");
            return;
        }
        const int index = letter.size() == 1 ? letter[0] - 'A' : -1;
        if (index < 0 || index >= static_cast<int>(question.options.size())) {
            Refuse(number,
                   "答案“" + letter + "”不是选项的字母（A 到 " +
                       std::string(1, static_cast<char>('A' + question.options.size() - 1)) + "）");
            return;
        }
        ImportedQuestion imported;
        imported.place = {fileName_, "", 0, question.line};
        imported.kind = QuestionKind::SingleChoice;
        std::string stem;
        for (const std::string& line : question.stem) {
            stem += (stem.empty() ? "" : "\n") + line;
        }
        imported.stem = Html(stem);
        for (const std::string& option : question.options) {
            imported.options.push_back(Html(option));
        }
        imported.rightOptions = {index};
        reading_.questions.push_back(std::move(imported));
    }

    const std::string& fileName_;
    ImportReading& reading_;
    Pending pending_;
};

}  // namespace

std::optional<AikenOption> ReadAikenOption(std::string_view line) {
    size_t pos = 0;
    if (line.empty()) {
        return std::nullopt;
    }
    const char32_t letter = NextFolded(line, pos);
    if (letter < 'A' || letter > 'Z' || pos >= line.size()) {
        return std::nullopt;
    }
    const bool wide = static_cast<unsigned char>(line[pos]) >= 0x80;
    const char32_t mark = NextFolded(line, pos);
    if (mark != '.' && mark != ')') {
        return std::nullopt;
    }
    // "A.B. Smith" is no option; "Ａ．甲" may be.
    size_t space = 0;
    if (!wide && (pos >= line.size() || !IsSpaceAt(line, pos, &space))) {
        return std::nullopt;
    }
    return AikenOption{static_cast<int>(letter - 'A'), Trim(line.substr(pos))};
}

std::optional<std::string> ReadAikenAnswer(std::string_view line) {
    const std::string folded = FoldWidth(Trim(line));
    constexpr std::string_view kWord = "ANSWER";
    if (folded.size() < kWord.size()) {
        return std::nullopt;
    }
    for (size_t n = 0; n < kWord.size(); ++n) {
        if ((folded[n] & ~0x20) != kWord[n]) {
            return std::nullopt;
        }
    }
    const std::string_view rest = Trim(std::string_view(folded).substr(6));
    if (!rest.starts_with(':')) {
        return std::nullopt;
    }
    return std::string(Trim(rest.substr(1)));
}

ImportReading ReadAiken(std::string_view bytes, const std::string& fileName) {
    std::string text = DecodeText(bytes);
    RemoveMarkCharacters(text);
    ImportReading reading;
    AikenReader reader(fileName, reading);
    int number = 0;
    for (const std::string& line : TextLines(text)) {
        reader.Line(line, ++number);
    }
    reader.End();
    if (reading.questions.empty() && reading.problems.empty()) {
        reading.problems.push_back(
            {{fileName, "", 0, 0}, "没有找到题目：Aiken 的每道题以“ANSWER: 字母”一行结束"});
    }
    return reading;
}

}  // namespace quillory
