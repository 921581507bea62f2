#include "core/exchange/moodle_xml_reader.h"

#include <openssl/evp.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "core/exchange/html_fragment.h"
#include "core/exchange/import_answer_form.h"
#include "core/exchange/plain_text.h"
#include "core/exchange/xml_tree.h"

namespace quillory {

namespace {

// Moodle writes full marks as 100 and thirds as 33.33333; anything this
// close to 100 is full.
constexpr double kFull = 99.99;

std::string Percent(double fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "%g%%", fraction);
    return text;
}

std::optional<std::string> Base64(std::string_view text) {
    const std::unique_ptr<EVP_ENCODE_CTX, void (*)(EVP_ENCODE_CTX*)> context(EVP_ENCODE_CTX_new(),
                                                                             EVP_ENCODE_CTX_free);
    if (!context || text.size() > INT_MAX / 2) {
        return std::nullopt;
    }
    std::string bytes(text.size() / 4 * 3 + 80, '\0');
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    int length = 0;
    EVP_DecodeInit(context.get());
    if (EVP_DecodeUpdate(context.get(), out, &length,
                         reinterpret_cast<const unsigned char*>(text.data()),
                         static_cast<int>(text.size())) < 0) {
        return std::nullopt;
    }
    int total = length;
    if (EVP_DecodeFinal(context.get(), out + total, &length) < 0) {
        return std::nullopt;
    }
    bytes.resize(static_cast<size_t>(total + length));
    return bytes;
}

// "$course$/top/数学/函数" → "数学/函数": the context and Moodle's top
// category are no knowledge; "//" is a slash inside a name, kept as "∕" so
// that the name stays one knowledge point.
std::string CategoryPath(std::string_view text) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '/') {
            parts.back() += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '/') {
            parts.back() += "∕";
            ++i;
        } else {
            parts.emplace_back();
        }
    }
    size_t first = 0;
    while (first < parts.size() && parts[first].size() >= 2 && parts[first].front() == '$' &&
           parts[first].back() == '$') {
        ++first;
    }
    if (first < parts.size() && Trim(parts[first]) == "top") {
        ++first;
    }
    std::string path;
    for (size_t i = first; i < parts.size(); ++i) {
        const std::string_view part = Trim(parts[i]);
        if (!part.empty()) {
            path += (path.empty() ? "" : "/") + std::string(part);
        }
    }
    return path;
}

// One answer of an embedded answer "{1:MC:=right#well done~wrong}".
struct EmbeddedAnswer {
    double fraction = 0;
    std::string text;  // as in the question's text (HTML)
    std::string feedback;
};

struct Embedded {
    std::string type;
    std::vector<EmbeddedAnswer> answers;
    size_t end = 0;  // just past the closing brace
};

// The embedded answer at text[pos] == '{', or nothing when the brace opens
// no embedded answer. A backslash escapes "}", "~", "#" and itself.
// unclosed is set when the text ends inside the answers: no later brace can
// be closed either, so the caller stops looking.
std::optional<Embedded> ParseEmbedded(std::string_view text, size_t pos, bool& unclosed) {
    size_t at = pos + 1;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        ++at;
    }
    if (at >= text.size() || text[at] != ':') {
        return std::nullopt;
    }
    const size_t typeStart = ++at;
    while (at < text.size() && ((text[at] >= 'A' && text[at] <= 'Z') || text[at] == '_')) {
        ++at;
    }
    if (at == typeStart || at >= text.size() || text[at] != ':') {
        return std::nullopt;
    }
    Embedded embedded;
    embedded.type = std::string(text.substr(typeStart, at - typeStart));
    EmbeddedAnswer answer;
    bool inFeedback = false;
    bool start = true;
    for (++at; at < text.size(); ++at) {
        const char c = text[at];
        if (start && c == '=') {
            answer.fraction = 100;
            start = false;
            continue;
        }
        if (start && c == '%') {
            const size_t close = text.find('%', at + 1);
            if (close != std::string_view::npos) {
                answer.fraction = XmlNumber(text.substr(at + 1, close - at - 1));
                at = close;
                start = false;
                continue;
            }
        }
        start = false;
        if (c == '\\' && at + 1 < text.size()) {
            (inFeedback ? answer.feedback : answer.text) += text[++at];
        } else if (c == '#' && !inFeedback) {
            inFeedback = true;
        } else if (c == '~' || c == '}') {
            embedded.answers.push_back(std::move(answer));
            answer = EmbeddedAnswer{};
            inFeedback = false;
            start = true;
            if (c == '}') {
                embedded.end = at + 1;
                return embedded;
            }
        } else {
            (inFeedback ? answer.feedback : answer.text) += c;
        }
    }
    unclosed = true;
    return std::nullopt;
}

bool IsRadioSlot(const std::string& type) {
    static const std::set<std::string> kTypes = {
        "MULTICHOICE",   "MC",  "MULTICHOICE_V",  "MCV",  "MULTICHOICE_H",  "MCH",
        "MULTICHOICE_S", "MCS", "MULTICHOICE_VS", "MCVS", "MULTICHOICE_HS", "MCHS"};
    return kTypes.count(type) != 0;
}

bool IsEditSlot(const std::string& type) {
    static const std::set<std::string> kTypes = {"SHORTANSWER", "SA",  "MW",        "SHORTANSWER_C",
                                                 "SAC",         "MWC", "NUMERICAL", "NM"};
    return kTypes.count(type) != 0;
}

bool IsNumerical(const std::string& type) {
    return type == "NUMERICAL" || type == "NM";
}

std::string Letter(size_t index) {
    return std::string(1, static_cast<char>('A' + index % 26));
}

class MoodleReader {
public:
    MoodleReader(const std::string& fileName, ImportReading& reading)
        : fileName_(fileName), reading_(reading) {}

    void Read(XmlNode quiz) {
        for (XmlNode node : XmlChildren(quiz, "question")) {
            const std::string type = XmlAttribute(node, "type");
            if (type == "category") {
                category_ = CategoryPath(XmlText(XmlChild(XmlChild(node, "category"), "text")));
            } else {
                Question(node, type);
            }
        }
    }

private:
    void Question(XmlNode node, const std::string& type) {
        static const std::set<std::string> kRead = {"multichoice", "truefalse",  "shortanswer",
                                                    "numerical",   "matching",   "essay",
                                                    "cloze",       "multianswer"};
        ImportedQuestion question;
        question.place = SourcePlace{fileName_, "", 0, XmlLine(node)};
        question_ = &question;
        node_ = node;
        warned_.clear();
        notes_.clear();
        if (type == "description") {
            Warn("说明文字（description）不是试题，已跳过");
            return;
        }
        if (kRead.count(type) == 0) {
            Warn("不支持的题型 " + (type.empty() ? std::string("（未写明）") : type) + "，已跳过");
            return;
        }
        // The category's own name, as GIFT's reader takes it.
        question.section = category_.substr(category_.rfind('/') + 1);
        if (!category_.empty()) {
            question.knowledgePaths.push_back(category_);
        }
        for (XmlNode tag : XmlChildren(XmlChild(node, "tags"), "tag")) {
            const std::string path(Trim(XmlText(XmlChild(tag, "text"))));
            if (!path.empty() &&
                std::find(question.knowledgePaths.begin(), question.knowledgePaths.end(), path) ==
                    question.knowledgePaths.end()) {
                question.knowledgePaths.push_back(path);
            }
        }
        if (type != "cloze" && type != "multianswer") {
            question.stem = Html(XmlChild(node, "questiontext"));
        }
        bool read = true;
        if (type == "multichoice") {
            Choices(node, question);
        } else if (type == "truefalse") {
            read = TrueFalse(node, question);
        } else if (type == "shortanswer" || type == "numerical") {
            Blank(node, question, type == "numerical");
        } else if (type == "matching") {
            Matching(node, question);
        } else if (type == "essay") {
            question.kind = QuestionKind::Manual;
            question.referenceAnswer = Html(XmlChild(node, "graderinfo"));
            if (question.referenceAnswer.empty()) {
                question.referenceAnswer = Html(XmlChild(node, "responsetemplate"));
            }
        } else {
            read = Cloze(node, question);
        }
        if (!read) {
            return;
        }
        question.analysis = Html(XmlChild(node, "generalfeedback"));
        for (const std::string& note : notes_) {
            question.analysis += "<div>" + note + "</div>";
        }
        const double grade = XmlNumber(XmlText(XmlChild(node, "defaultgrade")));
        if (grade > 0) {
            question.score = grade;
        }
        question.sourceKey = SourceKey(node);
        reading_.questions.push_back(std::move(question));
    }

    // The idnumber, else the name (the second of a name in its category gets
    // "#2"), inside the category.
    std::string SourceKey(XmlNode node) {
        const std::string id(Trim(XmlText(XmlChild(node, "idnumber"))));
        std::string key =
            id.empty() ? std::string(Trim(XmlText(XmlChild(XmlChild(node, "name"), "text")))) : id;
        if (key.empty()) {
            return key;
        }
        if (!category_.empty()) {
            key = category_ + "/" + key;
        }
        if (id.empty() && ++names_[key] > 1) {
            key += "#" + std::to_string(names_[key]);
        }
        return key;
    }

    void Choices(XmlNode node, ImportedQuestion& question) {
        const std::string single(Trim(XmlText(XmlChild(node, "single"))));
        const bool one = single != "false" && single != "0";
        question.kind = one ? QuestionKind::SingleChoice : QuestionKind::MultipleChoice;
        int best = -1;
        double bestFraction = 0;
        bool partial = false;
        for (XmlNode answer : XmlChildren(node, "answer")) {
            const int index = static_cast<int>(question.options.size());
            const double fraction = XmlNumber(XmlAttribute(answer, "fraction"));
            question.options.push_back(InlineFragment(Html(answer)));
            if (fraction >= kFull || (!one && fraction > 0)) {
                question.rightOptions.push_back(index);
            } else if (fraction > 0) {
                partial = true;
            }
            if (fraction > bestFraction) {
                best = index;
                bestFraction = fraction;
            }
            Feedback(answer, Letter(static_cast<size_t>(index)));
        }
        if (one && partial) {
            if (question.rightOptions.empty()) {
                question.rightOptions.push_back(best);
            }
            Warn("单选题只认一个正确选项，部分得分的选项按错误处理");
        }
    }

    // False (with a problem) when neither answer earns the marks.
    bool TrueFalse(XmlNode node, ImportedQuestion& question) {
        question.kind = QuestionKind::TrueFalse;
        bool keyed = false;
        for (XmlNode answer : XmlChildren(node, "answer")) {
            const bool isTrue = Trim(XmlText(XmlChild(answer, "text"))) == "true";
            if (XmlNumber(XmlAttribute(answer, "fraction")) >= kFull && !keyed) {
                question.trueFalseKey = isTrue;
                keyed = true;
            }
            Feedback(answer, isTrue ? "对" : "错");
        }
        if (!keyed) {
            reading_.problems.push_back({question.place, "判断题没有答案"});
        }
        return keyed;
    }

    // shortanswer and numerical: one blank of the answers with full marks.
    void Blank(XmlNode node, ImportedQuestion& question, bool numerical) {
        question.kind = QuestionKind::FillBlank;
        std::vector<std::string> accepted;
        std::vector<std::string> partial;
        for (XmlNode answer : XmlChildren(node, "answer")) {
            const std::string text(Trim(XmlText(XmlChild(answer, "text"))));
            const double fraction = XmlNumber(XmlAttribute(answer, "fraction"));
            Feedback(answer, PlainToHtml(text));
            if (text.empty() || (numerical && text == "*")) {
                continue;
            }
            if (fraction >= kFull) {
                accepted.push_back(text);
                if (numerical) {
                    Tolerance(PlainToHtml(text), XmlText(XmlChild(answer, "tolerance")));
                } else if (text.find('*') != std::string::npos) {
                    Warn("答案中的通配符 * 按普通字符比对");
                }
            } else if (fraction > 0) {
                partial.push_back(PlainToHtml(text) + "（" + Percent(fraction) + "）");
            }
        }
        question.blanks.push_back(std::move(accepted));
        Partial(partial);
        if (numerical && XmlChild(XmlChild(node, "units"), "unit")) {
            Warn("数值题的单位未导入，只按数值判分");
        }
    }

    // label: the value as HTML, after the slot's number in a cloze.
    void Tolerance(const std::string& label, const std::string& tolerance) {
        if (XmlNumber(tolerance) != 0) {
            notes_.push_back(label + " 允许误差 ±" + PlainToHtml(Trim(tolerance)));
            Warn("数值的误差范围未导入，只接受答案原样（误差已写入解析）");
        }
    }

    void Partial(const std::vector<std::string>& partial) {
        if (partial.empty()) {
            return;
        }
        std::string note = "部分得分的答案：";
        for (size_t i = 0; i < partial.size(); ++i) {
            note += (i == 0 ? "" : "；") + partial[i];
        }
        notes_.push_back(note);
        Warn("部分得分的答案不算正确答案，已写入解析");
    }

    void Matching(XmlNode node, ImportedQuestion& question) {
        question.kind = QuestionKind::Matching;
        std::map<std::string, int> indexOf;
        for (XmlNode sub : XmlChildren(node, "subquestion")) {
            const std::string right = InlineFragment(Html(XmlChild(sub, "answer"), true));
            const auto [found, added] =
                indexOf.emplace(right, static_cast<int>(question.options.size()));
            const int index = found->second;
            if (added) {
                question.options.push_back(right);
            }
            AnswerSlot slot;
            slot.prompt = InlineFragment(Html(sub));
            slot.rightChoice = index;
            if (!slot.prompt.empty()) {
                question.answerSlots.push_back(std::move(slot));
            }
        }
    }

    // The stem with each embedded answer replaced by "（n）". False (with a
    // warning) for an embedded answer of a kind no form can hold.
    bool Cloze(XmlNode node, ImportedQuestion& question) {
        question.kind = QuestionKind::Cloze;
        const XmlNode questionText = XmlChild(node, "questiontext");
        const std::string text = XmlText(XmlChild(questionText, "text"));
        std::string stem;
        std::vector<std::string> partial;
        bool unclosed = false;
        for (size_t pos = 0; pos < text.size();) {
            const std::optional<Embedded> embedded =
                text[pos] == '{' && !unclosed ? ParseEmbedded(text, pos, unclosed) : std::nullopt;
            if (!embedded || (!IsRadioSlot(embedded->type) && !IsEditSlot(embedded->type))) {
                if (embedded && (embedded->type.starts_with("MULTIRESPONSE") ||
                                 embedded->type.starts_with("MR"))) {
                    Warn("嵌入的多选答案（" + embedded->type + "）无法作答，已跳过该题");
                    return false;
                }
                stem += text[pos++];
                continue;
            }
            const std::string number =
                "（" + std::to_string(question.answerSlots.size() + 1) + "）";
            stem += number;
            pos = embedded->end;
            AnswerSlot slot;
            for (const EmbeddedAnswer& answer : embedded->answers) {
                const bool full = answer.fraction >= kFull;
                if (IsRadioSlot(embedded->type)) {
                    if (full && slot.rightChoice < 0) {
                        slot.rightChoice = static_cast<int>(slot.choices.size());
                    } else if (answer.fraction > 0) {
                        partial.push_back(number +
                                          InlineFragment(Convert(questionText, answer.text)) +
                                          "（" + Percent(answer.fraction) + "）");
                    }
                    slot.choices.push_back(InlineFragment(Convert(questionText, answer.text)));
                } else {
                    std::string value = PlainTextOfFragment(answer.text);
                    if (IsNumerical(embedded->type) && value.find(':') != std::string::npos) {
                        const std::string tolerance = value.substr(value.find(':') + 1);
                        value.resize(value.find(':'));
                        if (full) {
                            Tolerance(number + PlainToHtml(Trim(value)), tolerance);
                        }
                    }
                    value = std::string(Trim(value));
                    if (full && !value.empty()) {
                        slot.accepted.push_back(value);
                    } else if (answer.fraction > 0) {
                        partial.push_back(number + PlainToHtml(value) + "（" +
                                          Percent(answer.fraction) + "）");
                    }
                }
                if (!Trim(answer.feedback).empty()) {
                    notes_.push_back(number + InlineFragment(Convert(questionText, answer.text)) +
                                     "：" + InlineFragment(Convert(questionText, answer.feedback)));
                }
            }
            question.answerSlots.push_back(std::move(slot));
        }
        question.stem = Convert(questionText, stem);
        Partial(partial);
        return true;
    }

    void Feedback(XmlNode answer, const std::string& label) {
        const std::string feedback = Html(XmlChild(answer, "feedback"));
        if (!feedback.empty()) {
            notes_.push_back(label + "：" + InlineFragment(feedback));
        }
    }

    // The element's <text> as HTML, after its format attribute (or plain
    // text when it has none and plainByDefault).
    std::string Html(XmlNode element, bool plainByDefault = false) {
        if (!element) {
            return {};
        }
        const std::string format = XmlAttribute(element, "format");
        const std::string text = XmlText(XmlChild(element, "text"));
        if (format == "plain_text" || format == "markdown" || (format.empty() && plainByDefault)) {
            return PlainToHtml(text);
        }
        return Convert(element, text);
    }

    // HTML of the element (whose format and files it follows) made safe,
    // its pictures the question's media.
    std::string Convert(XmlNode element, const std::string& html) {
        std::string text;
        const bool lineBreaks = XmlAttribute(element, "format") == "moodle_auto_format";
        for (char c : html) {
            text += lineBreaks && c == '\n' ? std::string("<br>") : std::string(1, c);
        }
        FragmentRules rules;
        rules.image = [&](const std::string& src) { return Picture(element, src); };
        const Fragment fragment = ReadHtmlFragment(text, rules);
        if (fragment.removed) {
            Warn("文字中的脚本、框架、表单或音视频已去掉");
        }
        return std::string(Trim(fragment.html));
    }

    // The media name of a picture the file carries, "data:" pictures as
    // they are; anything else is left out with a warning.
    std::string Picture(XmlNode element, const std::string& src) {
        static constexpr std::string_view kPluginFile = "@@PLUGINFILE@@/";
        if (src.starts_with("data:image/")) {
            return src;
        }
        if (!src.starts_with(kPluginFile)) {
            Warn("链接的外部图片未导入：" + src);
            return {};
        }
        std::string path = "/" + UrlDecoded(std::string_view(src).substr(kPluginFile.size()));
        path.resize(std::min(path.size(), path.find('?')));
        XmlNode file = FileAt(element, path);
        if (!file) {
            file = FileAt(node_, path);
        }
        const std::string name = path.substr(path.rfind('/') + 1);
        if (!file) {
            Warn("图片 " + name + " 不在文件中，未导入");
            return {};
        }
        std::optional<std::string> bytes = Base64(XmlText(file));
        if (!bytes || bytes->empty()) {
            Warn("图片 " + name + " 的数据已损坏，未导入");
            return {};
        }
        return AddPicture(question_->media, name, std::move(*bytes));
    }

    // The <file> of that path among the element's children or, for a
    // question, anywhere inside it.
    static XmlNode FileAt(XmlNode element, const std::string& path) {
        for (XmlNode file : XmlChildren(element, "file")) {
            std::string folder = XmlAttribute(file, "path");
            if (!folder.ends_with('/')) {
                folder += '/';
            }
            if (folder + XmlAttribute(file, "name") == path) {
                return file;
            }
        }
        if (XmlName(element) != "question") {
            return nullptr;
        }
        for (const std::string_view area : {"questiontext", "generalfeedback", "answer",
                                            "subquestion", "graderinfo", "responsetemplate"}) {
            for (XmlNode part : XmlChildren(element, area)) {
                if (XmlNode file = FileAt(part, path)) {
                    return file;
                }
                if (XmlNode file = FileAt(XmlChild(part, "feedback"), path)) {
                    return file;
                }
            }
        }
        return nullptr;
    }

    void Warn(const std::string& text) {
        if (warned_.insert(text).second) {
            reading_.warnings.push_back(
                {question_ ? question_->place : SourcePlace{fileName_, "", 0, 0}, text});
        }
    }

    static std::string PlainToHtml(std::string_view text) {
        std::vector<MediaFile> none;
        return quillory::PlainToHtml(text, nullptr, none);
    }

    const std::string& fileName_;
    ImportReading& reading_;
    std::string category_;
    std::map<std::string, int> names_;
    ImportedQuestion* question_ = nullptr;  // the question being read
    XmlNode node_ = nullptr;                // its element
    std::set<std::string> warned_;          // its warnings so far
    std::vector<std::string> notes_;        // its answers' feedback, for the analysis
};

}  // namespace

ImportReading ReadMoodleXml(std::string_view bytes, const std::string& fileName) {
    ImportReading reading;
    const XmlTree tree(bytes);
    const XmlNode root = tree.Root();
    if (!root) {
        reading.problems.push_back(
            {SourcePlace{fileName, "", 0, tree.errorLine()}, "文件已损坏（XML 无法读取）"});
        return reading;
    }
    if (XmlName(root) != "quiz") {
        reading.problems.push_back(
            {SourcePlace{fileName, "", 0, 0}, "文件内容不是 Moodle XML 题库（没有 <quiz>）"});
        return reading;
    }
    MoodleReader(fileName, reading).Read(root);
    return reading;
}

}  // namespace quillory
