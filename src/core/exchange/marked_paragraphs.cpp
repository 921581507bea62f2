#include "core/exchange/marked_paragraphs.h"

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/exchange/plain_text.h"
#include "core/exchange/question_fields.h"

namespace quillory {

namespace {

enum class Field { Stem, Option, Key, Analysis, Knowledge, Score, Difficulty, Type };

struct MarkerName {
    std::string_view name;
    Field field;
};

constexpr MarkerName kMarkers[] = {
    {"答案", Field::Key},      {"参考答案", Field::Key},     {"正确答案", Field::Key},
    {"标准答案", Field::Key},  {"解析", Field::Analysis},    {"详解", Field::Analysis},
    {"分析", Field::Analysis}, {"点睛", Field::Analysis},    {"点评", Field::Analysis},
    {"解答", Field::Analysis}, {"知识点", Field::Knowledge}, {"考点", Field::Knowledge},
    {"分值", Field::Score},    {"分数", Field::Score},       {"难度", Field::Difficulty},
    {"题型", Field::Type},
};

constexpr char32_t kEnumerationComma = 0x3001;  // 、
constexpr char32_t kOpenMarker = 0x3010;        // 【
constexpr char32_t kCloseMarker = 0x3011;       // 】

// A paragraph as code points folded to half width (tabs and wide spaces as
// spaces), with the byte offset of each in the text, for slicing it.
struct Line {
    std::string_view text;
    std::vector<char32_t> c;
    std::vector<size_t> at;

    explicit Line(std::string_view line) : text(line) {
        for (size_t pos = 0; pos < line.size();) {
            at.push_back(pos);
            char32_t ch = NextCodePoint(line, pos);
            if (ch >= 0xFF01 && ch <= 0xFF5E) {
                ch -= 0xFEE0;
            } else if (ch == 0x3000 || ch == 0xA0 || ch == '\t') {
                ch = ' ';
            }
            c.push_back(ch);
        }
        at.push_back(line.size());
    }
    size_t size() const { return c.size(); }
    std::string_view Slice(size_t from, size_t to) const {
        return text.substr(at[from], at[to] - at[from]);
    }
    size_t SkipSpaces(size_t i) const {
        while (i < size() && c[i] == ' ') {
            ++i;
        }
        return i;
    }
    std::string Utf8(size_t from, size_t to) const { return std::string(Slice(from, to)); }
};

bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool IsChineseNumeral(char32_t c) {
    return std::u32string_view(U"一二三四五六七八九十").find(c) != std::u32string_view::npos;
}

enum class Numbering { Dot, Bracket };

struct QuestionNumber {
    Numbering style;
    int number;
    size_t end;  // where the stem starts
};

// "1." "1、" "1．" "1)" or "(1)" "（1）" at the start of the line.
std::optional<QuestionNumber> ReadQuestionNumber(const Line& line) {
    const bool bracket = line.size() > 0 && line.c[0] == '(';
    size_t i = bracket ? line.SkipSpaces(1) : 0;
    const size_t start = i;
    int number = 0;
    while (i < line.size() && IsDigit(line.c[i]) && i - start < 4) {
        number = number * 10 + static_cast<int>(line.c[i] - '0');
        ++i;
    }
    if (i == start || (i < line.size() && IsDigit(line.c[i]))) {
        return std::nullopt;
    }
    i = line.SkipSpaces(i);
    if (i >= line.size()) {
        return std::nullopt;
    }
    const char32_t mark = line.c[i];
    if (bracket ? mark != ')' : mark != '.' && mark != kEnumerationComma && mark != ')') {
        return std::nullopt;
    }
    ++i;
    // "1.5 千克" is a number, not a question; nobody writes one with "．".
    if (!bracket && line.Slice(i - 1, i) == "." && i < line.size() && IsDigit(line.c[i])) {
        return std::nullopt;
    }
    return QuestionNumber{bracket ? Numbering::Bracket : Numbering::Dot, number,
                          line.SkipSpaces(i)};
}

struct OptionLabel {
    int index;
    bool bracket;
    size_t end;  // where the option's text starts
};

// "A." "A、" "A．" "A)" "A:" or "(A)" "（A）" at i.
std::optional<OptionLabel> ReadOptionLabel(const Line& line, size_t i) {
    const bool bracket = i < line.size() && line.c[i] == '(';
    size_t j = bracket ? line.SkipSpaces(i + 1) : i;
    if (j + 1 >= line.size() || line.c[j] < 'A' || line.c[j] > 'H') {
        return std::nullopt;
    }
    const int index = static_cast<int>(line.c[j] - 'A');
    ++j;
    if (bracket) {
        j = line.SkipSpaces(j);
        if (j >= line.size() || line.c[j] != ')') {
            return std::nullopt;
        }
    } else if (line.c[j] != '.' && line.c[j] != kEnumerationComma && line.c[j] != ')' &&
               line.c[j] != ':') {
        return std::nullopt;
    }
    return OptionLabel{index, bracket, line.SkipSpaces(j + 1)};
}

struct Marker {
    size_t start;  // the marker's first code point
    size_t end;    // its content's first
    Field field;
    std::string_view name;
};

std::optional<MarkerName> FindMarker(std::string_view name) {
    for (const MarkerName& marker : kMarkers) {
        if (marker.name == name) {
            return marker;
        }
    }
    return std::nullopt;
}

// 【答案】 anywhere, 答案： at the start.
std::vector<Marker> ReadMarkers(const Line& line) {
    std::vector<Marker> markers;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line.c[i] != ':') {
            continue;
        }
        const std::string name(Trim(line.Slice(0, i)));
        if (const auto marker = FindMarker(name)) {
            markers.push_back({0, line.SkipSpaces(i + 1), marker->field, marker->name});
        }
        break;
    }
    for (size_t i = 0; i < line.size(); ++i) {
        if (line.c[i] != kOpenMarker) {
            continue;
        }
        for (size_t j = i + 1; j < line.size() && j < i + 8; ++j) {
            if (line.c[j] == kCloseMarker) {
                if (const auto marker = FindMarker(Trim(line.Slice(i + 1, j)))) {
                    // "【答案】：A"
                    size_t end = line.SkipSpaces(j + 1);
                    if (end < line.size() && line.c[end] == ':') {
                        end = line.SkipSpaces(end + 1);
                    }
                    markers.push_back({i, end, marker->field, marker->name});
                }
                break;
            }
        }
    }
    return markers;
}

struct Heading {
    std::string name;
    std::optional<double> score;  // "每题2分"
};

std::optional<double> EachScore(const Line& line) {
    const std::u32string_view text(line.c.data(), line.size());
    for (std::u32string_view each : {U"每小题", U"每题", U"每空"}) {
        const size_t at = text.find(each);
        if (at == std::u32string_view::npos) {
            continue;
        }
        size_t i = line.SkipSpaces(at + each.size());
        const size_t start = i;
        while (i < line.size() && (IsDigit(line.c[i]) || line.c[i] == '.')) {
            ++i;
        }
        if (i > start && line.SkipSpaces(i) < line.size() && line.c[line.SkipSpaces(i)] == U'分') {
            return ReadScore(line.Slice(start, i));
        }
    }
    return std::nullopt;
}

// "一、单项选择题（每题2分）", "第一部分 选择题", or a line that is only a
// kind ("判断题").
std::optional<Heading> ReadHeading(const Line& line) {
    size_t i = 0;
    while (i < line.size() && IsChineseNumeral(line.c[i])) {
        ++i;
    }
    std::string name;
    if (i > 0 && i <= 3) {
        const size_t mark = line.SkipSpaces(i);
        if (mark >= line.size() || (line.c[mark] != kEnumerationComma && line.c[mark] != '.')) {
            return std::nullopt;
        }
        name = WithoutNotes(line.Slice(mark + 1, line.size()));
        if (ReadTypeWords(name) == TypeWords::Unknown && !name.ends_with("题")) {
            return std::nullopt;
        }
    } else if (line.size() > 3 && line.c[0] == U'第' && IsChineseNumeral(line.c[1])) {
        i = 1;
        while (i < line.size() && IsChineseNumeral(line.c[i])) {
            ++i;
        }
        const std::u32string_view rest(line.c.data() + i, line.size() - i);
        size_t after = 0;
        for (std::u32string_view part : {U"部分", U"大题", U"卷"}) {
            if (rest.starts_with(part)) {
                after = i + part.size();
            }
        }
        if (after == 0) {
            return std::nullopt;
        }
        name = WithoutNotes(line.Slice(after, line.size()));
        if (name.empty() || name == ":" || name == "：") {
            name = WithoutNotes(line.Slice(0, after));
        }
    } else {
        // At most eight characters ending in 题, so a stem line that merely
        // mentions a kind stays a stem line.
        name = WithoutNotes(line.text);
        if (name.size() > 24 || !name.ends_with("题") ||
            ReadTypeWords(name) == TypeWords::Unknown || ReadQuestionNumber(line) ||
            !ReadMarkers(line).empty()) {
            return std::nullopt;
        }
    }
    while (name.starts_with(":")) {
        name.erase(0, 1);
    }
    while (name.ends_with(":") || name.ends_with("：")) {
        name.erase(name.ends_with(":") ? name.size() - 1 : name.size() - 3);
    }
    name = std::string(Trim(name));
    if (name.empty()) {
        return std::nullopt;
    }
    return Heading{name, EachScore(line)};
}

// Adds a line to a field: after glue when given, else after a line break.
void Append(std::string& to, std::string_view text, std::string& glue) {
    text = Trim(text);
    if (text.empty()) {
        return;
    }
    if (!glue.empty()) {
        to += glue;
        glue.clear();
    } else if (!to.empty()) {
        to += "\n";
    }
    to.append(text);
}

// "（2分）" before a stem: the question's score.
std::string_view TakeScore(std::string_view stem, std::string& score) {
    const Line line(stem);
    if (line.size() < 4 || line.c[0] != '(') {
        return stem;
    }
    size_t i = line.SkipSpaces(1);
    const size_t start = i;
    while (i < line.size() && (IsDigit(line.c[i]) || line.c[i] == '.')) {
        ++i;
    }
    const size_t end = i;
    i = line.SkipSpaces(i);
    if (end == start || i + 1 >= line.size() || line.c[i] != U'分') {
        return stem;
    }
    i = line.SkipSpaces(i + 1);
    if (i >= line.size() || line.c[i] != ')') {
        return stem;
    }
    score = line.Utf8(start, end);
    return stem.substr(line.at[i + 1]);
}

class Reader {
public:
    Reader(const std::vector<MediaFile>& images, const std::string& fileName)
        : images_(images), fileName_(fileName) {
        section_ = std::filesystem::path(fileName).stem().string();
    }

    void Read(const MarkedParagraph& paragraph) {
        const std::string_view text = Trim(paragraph.text);
        if (text.empty()) {
            return;
        }
        const Line line(text);
        if (const auto heading = ReadHeading(line)) {
            Close();
            section_ = heading->name;
            sectionWords_ = ReadTypeWords(heading->name) == TypeWords::Unknown ? "" : heading->name;
            sectionScore_ = heading->score;
            return;
        }
        const std::vector<Marker> markers = ReadMarkers(line);
        const size_t headEnd = markers.empty() ? line.size() : markers.front().start;
        if (headEnd > 0) {
            ReadHead(Line(line.Slice(0, headEnd)), paragraph);
        }
        for (size_t m = 0; m < markers.size(); ++m) {
            const size_t end = m + 1 < markers.size() ? markers[m + 1].start : line.size();
            const std::string_view content =
                markers[m].end < end ? line.Slice(markers[m].end, end) : std::string_view();
            if (!open_) {
                Ignore(paragraph);
                continue;
            }
            StartField(markers[m]);
            Append(Target(), content, glue_);
        }
    }

    ImportReading Finish() {
        Close();
        if (ignored_ > 0) {
            reading_.warnings.push_back(
                {ignoredPlace_,
                 "有 " + std::to_string(ignored_) + " 段文字不属于任何题目，未导入（第一段在此）"});
        }
        if (reading_.questions.empty() && reading_.problems.empty()) {
            reading_.problems.push_back(
                {SourcePlace{fileName_, "", 0, 0},
                 "没有找到题目：每道题要以“1.”“1、”或“（1）”这样的题号开头"});
        }
        return std::move(reading_);
    }

private:
    void ReadHead(const Line& line, const MarkedParagraph& paragraph) {
        const auto number = ReadQuestionNumber(line);
        // A numbered line starts the next question only in the numbering
        // the file uses and in order, so numbered steps of an analysis stay
        // in it.
        const bool next =
            number && (!open_ || (number->style == style_ && number->number == lastNumber_ + 1));
        if (next) {
            style_ = number->style;
            lastNumber_ = number->number;
            Start(paragraph, line.Slice(number->end, line.size()));
            return;
        }
        if (paragraph.numberedItem && field_ != Field::Analysis &&
            (!open_ || !fields_.options.empty() || !fields_.key.empty())) {
            Start(paragraph, line.text);
            return;
        }
        if (!open_) {
            Ignore(paragraph);
            return;
        }
        if (field_ == Field::Stem || field_ == Field::Option) {
            if (ReadOptions(line)) {
                return;
            }
        }
        Append(Target(), line.text, glue_);
    }

    // Options starting the line, and those after spaces that follow them in
    // order ("A. 1  B. 2  C. 3").
    bool ReadOptions(const Line& line) {
        auto label = ReadOptionLabel(line, 0);
        if (!label) {
            return false;
        }
        while (label) {
            std::optional<OptionLabel> next;
            size_t end = line.size();
            for (size_t i = label->end; i < line.size(); ++i) {
                if (i > 0 && line.c[i - 1] == ' ') {
                    next = ReadOptionLabel(line, i);
                    if (next && next->index == label->index + 1 &&
                        next->bracket == label->bracket) {
                        end = i;
                        break;
                    }
                    next.reset();
                }
            }
            if (fields_.options.size() <= static_cast<size_t>(label->index)) {
                fields_.options.resize(label->index + 1);
            }
            option_ = label->index;
            std::string& option = fields_.options[option_];
            option = std::string(Trim(line.Slice(std::min(label->end, end), end)));
            label = next;
        }
        field_ = Field::Option;
        return true;
    }

    void Start(const MarkedParagraph& paragraph, std::string_view stem) {
        Close();
        open_ = true;
        fields_ = QuestionFields();
        fields_.place = SourcePlace{fileName_, "", 0, paragraph.line};
        fields_.typeWords = sectionWords_;
        fields_.section = section_;
        fields_.defaultScore = sectionScore_;
        fields_.images = &images_;
        field_ = Field::Stem;
        glue_.clear();
        Append(fields_.stem, TakeScore(Trim(stem), fields_.score), glue_);
    }

    void StartField(const Marker& marker) {
        field_ = marker.field;
        glue_.clear();
        // 【分析】…【详解】…【点睛】: one analysis, each part under its name.
        if (field_ == Field::Analysis && !fields_.analysis.empty()) {
            glue_ = "\n" + std::string(marker.name) + "：";
        } else if (field_ == Field::Type) {
            fields_.typeWords.clear();
        }
    }

    std::string& Target() {
        switch (field_) {
            case Field::Stem:
                return fields_.stem;
            case Field::Option:
                return fields_.options[option_];
            case Field::Key:
                return fields_.key;
            case Field::Analysis:
                return fields_.analysis;
            case Field::Knowledge:
                return fields_.knowledge;
            case Field::Score:
                return fields_.score;
            case Field::Difficulty:
                return fields_.difficulty;
            case Field::Type:
                return fields_.typeWords;
        }
        return fields_.stem;
    }

    void Close() {
        if (open_) {
            AddQuestion(fields_, reading_);
            open_ = false;
        }
    }

    void Ignore(const MarkedParagraph& paragraph) {
        if (ignored_++ == 0) {
            ignoredPlace_ = SourcePlace{fileName_, "", 0, paragraph.line};
        }
    }

    const std::vector<MediaFile>& images_;
    std::string fileName_;
    ImportReading reading_;
    std::string section_;
    std::string sectionWords_;
    std::optional<double> sectionScore_;
    bool open_ = false;
    QuestionFields fields_;
    Field field_ = Field::Stem;
    std::string glue_;  // what goes before the next line of the field
    size_t option_ = 0;
    Numbering style_ = Numbering::Dot;
    int lastNumber_ = 0;
    int ignored_ = 0;
    SourcePlace ignoredPlace_;
};

}  // namespace

ImportReading ReadMarkedParagraphs(const std::vector<MarkedParagraph>& paragraphs,
                                   const std::vector<MediaFile>& images,
                                   const std::string& fileName) {
    Reader reader(images, fileName);
    for (const MarkedParagraph& paragraph : paragraphs) {
        reader.Read(paragraph);
    }
    return reader.Finish();
}

}  // namespace quillory
