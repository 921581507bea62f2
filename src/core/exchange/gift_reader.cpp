#include "core/exchange/gift_reader.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

#include "core/exchange/html_fragment.h"
#include "core/exchange/plain_text.h"

namespace quillory {

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr const char* kBlank = "____";

// The first `what` at or after from that no backslash escapes.
size_t FindPlain(std::string_view text, std::string_view what, size_t from = 0) {
    for (size_t pos = from; pos < text.size(); ++pos) {
        if (text[pos] == '\\') {
            ++pos;
        } else if (text.substr(pos).starts_with(what)) {
            return pos;
        }
    }
    return npos;
}

// GIFT's escapes undone: \: \# \= \{ \} \~ \\ and \n; any other backslash
// stays, so TeX such as \frac reads as written.
std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\\' && pos + 1 < text.size()) {
            const char next = text[pos + 1];
            if (next == 'n') {
                out += '\n';
                ++pos;
                continue;
            }
            if (std::string_view(":#={}~\\").find(next) != npos) {
                out += next;
                ++pos;
                continue;
            }
        }
        out += text[pos];
    }
    return out;
}

std::string PlainText(std::string_view raw) {
    return std::string(Trim(Unescape(raw)));
}

std::string PlainHtml(std::string_view plain) {
    std::vector<MediaFile> none;
    return PlainToHtml(plain, nullptr, none);
}

std::optional<double> Number(std::string_view text) {
    const std::string value(Trim(text));
    if (value.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (end != value.c_str() + value.size()) {
        return std::nullopt;
    }
    return number;
}

std::string NumberText(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// One answer of a block: "=text#feedback", "~%50%text".
struct Answer {
    char mark = '=';
    std::optional<double> weight;  // %50%; none: full for '=', none for '~'
    std::string text;              // escapes kept
    std::string feedback;          // escapes kept

    bool Full() const { return weight ? *weight >= 100 : mark == '='; }
    bool Partial() const { return weight && *weight > 0 && *weight < 100; }
};

// The answers of a block, each from its '=' or '~'; lead is what stands
// before the first.
std::vector<Answer> SplitAnswers(std::string_view block, std::string& lead) {
    std::vector<size_t> starts;
    for (size_t pos = 0; pos < block.size(); ++pos) {
        if (block[pos] == '\\') {
            ++pos;
        } else if (block[pos] == '=' || block[pos] == '~') {
            starts.push_back(pos);
        }
    }
    lead = std::string(Trim(block.substr(0, starts.empty() ? block.size() : starts.front())));
    std::vector<Answer> answers;
    for (size_t n = 0; n < starts.size(); ++n) {
        const size_t end = n + 1 < starts.size() ? starts[n + 1] : block.size();
        std::string_view body = block.substr(starts[n] + 1, end - starts[n] - 1);
        Answer answer;
        answer.mark = block[starts[n]];
        const std::string_view trimmed = Trim(body);
        if (trimmed.starts_with('%')) {
            const size_t close = trimmed.find('%', 1);
            if (close != npos) {
                if (const auto weight = Number(trimmed.substr(1, close - 1))) {
                    answer.weight = weight;
                    body = trimmed.substr(close + 1);
                }
            }
        }
        const size_t hash = FindPlain(body, "#");
        answer.text = std::string(body.substr(0, hash));
        if (hash != npos) {
            answer.feedback = std::string(body.substr(hash + 1));
        }
        answers.push_back(std::move(answer));
    }
    return answers;
}

std::string OptionLetter(size_t index) {
    return std::string(1, static_cast<char>('A' + index));
}

// Where the questions after a "$CATEGORY:" line go.
struct Category {
    std::string path;     // knowledge path
    std::string section;  // its last part
};

// "$course$/top/代数/函数" → "代数/函数": the context and the "top" the
// quiz systems put first name no subject.
Category ReadCategory(std::string_view line) {
    std::vector<std::string> parts;
    for (size_t start = 0; start <= line.size();) {
        size_t end = line.find('/', start);
        if (end == npos) {
            end = line.size();
        }
        const std::string part(Trim(line.substr(start, end - start)));
        if (!part.empty()) {
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (!parts.empty() && parts.front().size() > 2 && parts.front().starts_with('$') &&
        parts.front().ends_with('$')) {
        parts.erase(parts.begin());
    }
    if (!parts.empty() && parts.front() == "top") {
        parts.erase(parts.begin());
    }
    Category category;
    for (const std::string& part : parts) {
        category.path += (category.path.empty() ? "" : "/") + part;
    }
    category.section = parts.empty() ? std::string() : parts.back();
    return category;
}

// One question's lines between blank lines, its comments apart.
struct Chunk {
    int line = 0;  // its first line that is no comment
    std::vector<std::string> lines;
    std::vector<std::string> comments;
};

// The value of "[name:value]" in a comment, if there.
std::string CommentValue(const std::vector<std::string>& comments, std::string_view name) {
    const std::string opening = "[" + std::string(name) + ":";
    for (const std::string& comment : comments) {
        const size_t at = comment.find(opening);
        const size_t end = at == npos ? npos : comment.find(']', at);
        if (end != npos) {
            return std::string(Trim(
                std::string_view(comment).substr(at + opening.size(), end - at - opening.size())));
        }
    }
    return {};
}

class GiftReader {
public:
    GiftReader(const std::string& fileName, ImportReading& reading)
        : fileName_(fileName), reading_(reading) {}

    void Read(const Chunk& chunk) {
        size_t first = 0;
        const std::string_view head = Trim(chunk.lines.front());
        if (head.starts_with("$CATEGORY:")) {
            category_ = ReadCategory(head.substr(10));
            first = 1;
        }
        if (first == chunk.lines.size()) {
            return;
        }
        std::string text;
        for (size_t n = first; n < chunk.lines.size(); ++n) {
            text += (n == first ? "" : "\n") + chunk.lines[n];
        }
        place_ = {fileName_, "", 0, chunk.line + static_cast<int>(first)};
        Question(text, chunk.comments);
    }

private:
    void Warn(std::string text) { reading_.warnings.push_back({place_, std::move(text)}); }
    void Refuse(std::string text) { reading_.problems.push_back({place_, std::move(text)}); }

    // A text of the question as the model's HTML: [html] written anew
    // without what could run (a GIFT file carries no pictures of its own,
    // so only "data:" ones stay); [plain], [markdown], [moodle] and no format
    // are escaped.
    std::string Html(std::string_view raw) {
        const std::string text = Unescape(raw);
        if (!html_) {
            return PlainHtml(text);
        }
        FragmentRules rules;
        rules.image = [this](const std::string& src) {
            if (src.starts_with("data:image/")) {
                return src;
            }
            Warn("链接的外部图片未导入：" + src);
            return std::string();
        };
        const Fragment fragment = ReadHtmlFragment(text, rules);
        if (fragment.removed) {
            Warn("文字中的脚本、框架、表单或音视频已去掉");
        }
        return std::string(Trim(fragment.html));
    }

    void Question(std::string_view text, const std::vector<std::string>& comments) {
        ImportedQuestion question;
        question.place = place_;
        text = Trim(text);
        if (text.starts_with("::")) {
            const size_t close = FindPlain(text, "::", 2);
            if (close == npos) {
                Refuse("题名的“::”没有结束");
                return;
            }
            question.sourceKey = PlainText(text.substr(2, close - 2));
            text = Trim(text.substr(close + 2));
        }
        if (question.sourceKey.empty()) {
            question.sourceKey = CommentValue(comments, "id");
        }
        html_ = false;
        for (const std::string_view format : {"[html]", "[plain]", "[markdown]", "[moodle]"}) {
            if (text.starts_with(format)) {
                html_ = format == "[html]";
                text.remove_prefix(format.size());
                break;
            }
        }
        const size_t open = FindPlain(text, "{");
        if (open == npos) {
            Warn("没有答案，作为说明文字跳过");
            return;
        }
        const size_t close = FindPlain(text, "}", open + 1);
        if (close == npos) {
            Refuse("答案的“{”没有对应的“}”");
            return;
        }
        const std::string_view after = text.substr(close + 1);
        if (FindPlain(after, "{") != npos || FindPlain(after, "}") != npos) {
            Refuse("一道题只能有一组答案“{…}”；题中的花括号要写成 \\{ 和 \\}");
            return;
        }
        std::string_view block = text.substr(open + 1, close - open - 1);
        const size_t general = FindPlain(block, "####");
        const std::string generalFeedback =
            general == npos ? std::string() : InlineFragment(Html(block.substr(general + 4)));
        block = block.substr(0, general);
        std::string stem(text.substr(0, open));
        if (!Trim(after).empty()) {
            stem += kBlank;
            stem += after;
        }
        question.stem = Html(stem);
        if (!category_.path.empty()) {
            question.knowledgePaths.push_back(category_.path);
        }
        question.section = category_.section;
        notes_.clear();
        if (!Answers(Trim(block), question)) {
            return;
        }
        std::string_view feedback = generalFeedback;
        // An essay's reference answer as we write it: the feedback's first line.
        static constexpr std::string_view kReference = "参考答案：";
        if (question.kind == QuestionKind::Manual && feedback.starts_with(kReference)) {
            const size_t end = feedback.find("<br>");
            question.referenceAnswer = feedback.substr(kReference.size(), end - kReference.size());
            feedback = end == npos ? std::string_view() : feedback.substr(end + 4);
        }
        if (!feedback.empty()) {
            notes_.emplace_back(feedback);
        }
        for (const std::string& note : notes_) {
            question.analysis += (question.analysis.empty() ? "" : "<br>") + note;
        }
        if (!question.sourceKey.empty()) {
            const auto [seen, added] = names_.emplace(question.sourceKey, place_.line);
            if (!added) {
                Warn("题名“" + question.sourceKey + "”与第 " + std::to_string(seen->second) +
                     " 行的题相同，再次导入时按位置认这道题");
                question.sourceKey.clear();
            }
        }
        reading_.questions.push_back(std::move(question));
    }

    bool Answers(std::string_view block, ImportedQuestion& question) {
        if (block.empty()) {
            question.kind = QuestionKind::Manual;
            return true;
        }
        if (block.starts_with('#')) {
            return Numerical(block.substr(1), question);
        }
        if (TrueFalse(block, question)) {
            return true;
        }
        std::string lead;
        const std::vector<Answer> answers = SplitAnswers(block, lead);
        if (answers.empty()) {
            Refuse("无法识别的答案写法“{" + std::string(block) + "}”");
            return false;
        }
        if (!lead.empty()) {
            Warn("答案前的文字“" + Unescape(lead) + "”不属于任何答案，已略去");
        }
        const bool choice = std::any_of(answers.begin(), answers.end(),
                                        [](const Answer& a) { return a.mark == '~'; });
        if (choice) {
            return Choice(answers, question);
        }
        const bool matching = std::any_of(answers.begin(), answers.end(), [](const Answer& a) {
            return FindPlain(a.text, "->") != npos;
        });
        return matching ? Matching(answers, question) : ShortAnswer(answers, question);
    }

    bool TrueFalse(std::string_view block, ImportedQuestion& question) {
        const size_t hash = FindPlain(block, "#");
        const std::string_view word = Trim(block.substr(0, hash));
        if (word != "T" && word != "TRUE" && word != "F" && word != "FALSE") {
            return false;
        }
        question.kind = QuestionKind::TrueFalse;
        question.trueFalseKey = word.starts_with('T');
        if (hash != npos) {
            const std::string_view feedback = block.substr(hash + 1);
            const size_t second = FindPlain(feedback, "#");
            Note("答错时", feedback.substr(0, second));
            if (second != npos) {
                Note("答对时", feedback.substr(second + 1));
            }
        }
        return true;
    }

    bool Choice(const std::vector<Answer>& answers, ImportedQuestion& question) {
        const bool single = std::any_of(answers.begin(), answers.end(),
                                        [](const Answer& a) { return a.mark == '='; });
        question.kind = single ? QuestionKind::SingleChoice : QuestionKind::MultipleChoice;
        bool partial = false;
        bool extraRight = false;
        for (size_t n = 0; n < answers.size(); ++n) {
            const Answer& answer = answers[n];
            question.options.push_back(InlineFragment(Html(answer.text)));
            const bool right = single ? answer.mark == '=' : answer.weight && *answer.weight > 0;
            if (right && (question.rightOptions.empty() || !single)) {
                question.rightOptions.push_back(static_cast<int>(n));
            } else if (right) {
                extraRight = true;
            }
            partial = partial || (single && answer.Partial());
            Note(OptionLetter(n), answer.feedback);
        }
        if (question.rightOptions.empty()) {
            Refuse("没有正确选项：单选题用“=”标出正确选项，多选题用“~%50%”这样的正的百分比");
            return false;
        }
        if (extraRight) {
            Warn("有几个选项标为正确，只有第一个（" + OptionLetter(question.rightOptions.front()) +
                 "）算作正确答案");
        }
        if (partial) {
            Warn("单选题中给部分分的选项按错误选项判分");
        } else if (!single) {
            Warn("多选题不再按各选项的百分比给分：选中全部正确选项才得分");
        }
        return true;
    }

    bool ShortAnswer(const std::vector<Answer>& answers, ImportedQuestion& question) {
        question.kind = QuestionKind::FillBlank;
        std::vector<std::string> accepted;
        std::string partial;
        for (const Answer& answer : answers) {
            const std::string text = PlainText(answer.text);
            if (answer.Full()) {
                accepted.push_back(text);
            } else if (answer.Partial()) {
                partial += (partial.empty() ? "" : "；") + text + "（" +
                           NumberText(*answer.weight) + "%）";
            }
            Note("“" + PlainHtml(text) + "”", answer.feedback);
        }
        if (accepted.empty() || accepted.front().empty()) {
            Refuse("填空题没有正确答案");
            return false;
        }
        question.blanks.push_back(accepted);
        if (accepted.size() > 1) {
            Warn("有 " + std::to_string(accepted.size()) + " 个可接受的答案，作答区填入第一个“" +
                 accepted.front() + "”，答案页列出全部");
        }
        if (!partial.empty()) {
            notes_.push_back(PlainHtml("部分得分的答案：" + partial));
            Warn("部分得分的答案不再给分，已写入解析");
        }
        return true;
    }

    bool Matching(const std::vector<Answer>& answers, ImportedQuestion& question) {
        question.kind = QuestionKind::Matching;
        std::vector<std::string> rights;
        for (const Answer& answer : answers) {
            const size_t arrow = FindPlain(answer.text, "->");
            if (arrow == npos) {
                Refuse("匹配题的每一项都要写成“=左边 -> 右边”");
                return false;
            }
            const std::string right = PlainText(answer.text.substr(arrow + 2));
            if (right.empty()) {
                Refuse("匹配题有一项的右边是空的");
                return false;
            }
            auto found = std::find(rights.begin(), rights.end(), right);
            if (found == rights.end()) {
                rights.push_back(right);
                question.options.push_back(PlainHtml(right));
                found = rights.end() - 1;
            }
            const std::string left = InlineFragment(Html(answer.text.substr(0, arrow)));
            if (!left.empty()) {
                question.answerSlots.push_back(
                    {left, {}, static_cast<int>(found - rights.begin()), {}});
            }
        }
        return true;
    }

    // "{#3:2}", "{#1..5}", "{#=3:0 =%50%3:1}": the exact value judged, the
    // rest told in the analysis.
    bool Numerical(std::string_view block, ImportedQuestion& question) {
        question.kind = QuestionKind::FillBlank;
        std::string lead;
        std::vector<Answer> answers = SplitAnswers(block, lead);
        if (answers.empty()) {
            Answer only;
            const size_t hash = FindPlain(block, "#");
            only.text = std::string(block.substr(0, hash));
            if (hash != npos) {
                only.feedback = std::string(block.substr(hash + 1));
            }
            answers.push_back(std::move(only));
        }
        std::vector<std::string> accepted;
        std::vector<std::string> ranges;
        bool inexact = false;
        for (const Answer& answer : answers) {
            if (answer.mark == '~') {
                Note("答错时", answer.feedback);
                continue;
            }
            const std::string text = PlainText(answer.text);
            std::string value;
            std::string told;
            if (const size_t dots = text.find(".."); dots != npos) {
                const auto low = Number(std::string_view(text).substr(0, dots));
                const auto high = Number(std::string_view(text).substr(dots + 2));
                if (!low || !high) {
                    Refuse("数值答案“" + text + "”不是数");
                    return false;
                }
                value = NumberText((*low + *high) / 2);
                told = NumberText(*low) + " 到 " + NumberText(*high) + " 之间";
                inexact = true;
            } else {
                const size_t colon = text.find(':');
                const std::string exact =
                    std::string(Trim(std::string_view(text).substr(0, colon)));
                const auto number = Number(exact);
                const auto margin = colon == npos
                                        ? std::optional<double>(0)
                                        : Number(std::string_view(text).substr(colon + 1));
                if (!number || !margin) {
                    Refuse("数值答案“" + text + "”不是数");
                    return false;
                }
                value = exact;
                told = exact;
                if (*margin != 0) {
                    told += "（误差不超过 " + NumberText(*margin) + "）";
                    inexact = true;
                }
            }
            if (answer.Full()) {
                accepted.push_back(value);
            } else {
                told += "，得 " + NumberText(answer.weight.value_or(0)) + "%";
                inexact = true;
            }
            ranges.push_back(told);
            Note("“" + value + "”", answer.feedback);
        }
        if (accepted.empty()) {
            Refuse("数值题没有正确答案");
            return false;
        }
        question.blanks.push_back(accepted);
        if (inexact) {
            std::string told;
            for (const std::string& range : ranges) {
                told += (told.empty() ? "" : "；") + range;
            }
            notes_.insert(notes_.begin(), PlainHtml("答案：" + told));
            Warn("数值题只按数值 " + accepted.front() + " 判分，允许的误差或范围已写入解析");
        }
        return true;
    }

    // A feedback of the question for the analysis, after what it is for.
    void Note(const std::string& about, std::string_view feedback) {
        const std::string html = InlineFragment(Html(feedback));
        if (!html.empty()) {
            notes_.push_back(about + "：" + html);
        }
    }

    const std::string& fileName_;
    ImportReading& reading_;
    Category category_;
    SourcePlace place_;
    bool html_ = false;
    std::vector<std::string> notes_;  // the analysis of the question being read
    std::map<std::string, int> names_;
};

}  // namespace

ImportReading ReadGift(std::string_view bytes, const std::string& fileName) {
    std::string text = DecodeText(bytes);
    RemoveMarkCharacters(text);
    ImportReading reading;
    GiftReader reader(fileName, reading);
    Chunk chunk;
    int number = 0;
    const auto finish = [&] {
        if (!chunk.lines.empty()) {
            reader.Read(chunk);
        }
        chunk = {};
    };
    for (const std::string& line : TextLines(text)) {
        ++number;
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty()) {
            finish();
        } else if (trimmed.starts_with("//")) {
            chunk.comments.emplace_back(trimmed);
        } else {
            if (chunk.lines.empty()) {
                chunk.line = number;
            }
            chunk.lines.push_back(line);
        }
    }
    finish();
    if (reading.questions.empty() && reading.problems.empty()) {
        reading.problems.push_back(
            {{fileName, "", 0, 0}, "没有找到题目：GIFT 的每道题要有答案“{…}”"});
    }
    return reading;
}

}  // namespace quillory
