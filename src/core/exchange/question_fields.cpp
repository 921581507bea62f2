#include "core/exchange/question_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "core/exchange/plain_text.h"
#include "core/exchange/question_sheet.h"

namespace quillory {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool Contains(std::string_view text, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view w) { return text.find(w) != std::string_view::npos; });
}

bool OneOf(std::string_view text, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), text) != words.end();
}

std::string Letter(int index) {
    return std::string(1, static_cast<char>('A' + index));
}

// Options kept in the stem of a kind that has none: "A. …" lines.
std::string OptionLines(const std::vector<std::string>& options) {
    std::string lines;
    for (size_t i = 0; i < options.size(); ++i) {
        lines += "\n" + Letter(static_cast<int>(i)) + ". " + options[i];
    }
    return lines;
}

}  // namespace

TypeWords ReadTypeWords(std::string_view words) {
    std::string text;
    for (char c : Upper(WithoutNotes(words))) {
        if (c != ' ') {
            text += c;
        }
    }
    if (text.empty()) {
        return TypeWords::Unknown;
    }
    if (Contains(text, {"不定项", "多选", "多项选择", "MULTIPLE"})) {
        return TypeWords::Multiple;
    }
    if (Contains(text, {"单选", "单项选择", "SINGLE"})) {
        return TypeWords::Single;
    }
    if (Contains(text, {"判断", "是非", "对错", "正误", "TRUEFALSE"})) {
        return TypeWords::TrueFalse;
    }
    if (Contains(text, {"填空", "BLANK"})) {
        return TypeWords::FillBlank;
    }
    if (Contains(text, {"选择", "CHOICE"})) {
        return TypeWords::Choice;
    }
    if (Contains(text, {"简答", "问答", "解答", "论述",     "材料", "计算", "分析", "综合",
                        "作文", "写作", "证明", "名词解释", "辨析", "案例", "翻译", "主观",
                        "应用", "实验", "探究", "阅读",     "简述", "设计", "作图", "MANUAL"})) {
        return TypeWords::Manual;
    }
    return TypeWords::Unknown;
}

std::optional<std::vector<int>> ReadChoiceKey(std::string_view key) {
    const std::string text = Upper(FoldWidth(key));
    std::set<int> letters;
    for (size_t pos = 0; pos < text.size();) {
        const char c = text[pos];
        size_t space = 0;
        if (c >= 'A' && c <= 'Z') {
            letters.insert(c - 'A');
            ++pos;
        } else if (c == ',' || c == ';' || c == '/') {
            ++pos;
        } else if (text.substr(pos).starts_with("、")) {
            pos += std::string_view("、").size();
        } else if (IsSpaceAt(text, pos, &space)) {
            pos += space;
        } else {
            return std::nullopt;
        }
    }
    if (letters.empty()) {
        return std::nullopt;
    }
    return std::vector<int>(letters.begin(), letters.end());
}

std::optional<bool> ReadTrueFalseKey(std::string_view key) {
    std::string text = Upper(std::string(Trim(FoldWidth(key))));
    while (text.ends_with(".") || text.ends_with("。")) {
        text.erase(text.ends_with(".") ? text.size() - 1 : text.size() - 3);
    }
    if (OneOf(text, {"对", "√", "✓", "✔", "T", "TRUE", "正确", "是", "真", "Y", "YES", "V", "R",
                     "RIGHT"})) {
        return true;
    }
    if (OneOf(text,
              {"错", "×", "✗", "✘", "X", "F", "FALSE", "错误", "否", "假", "N", "NO", "WRONG"})) {
        return false;
    }
    return std::nullopt;
}

std::vector<std::string> SplitBlanks(std::string_view key) {
    key = Trim(key);
    const auto split = [&](std::initializer_list<std::string_view> separators) {
        std::vector<std::string> blanks;
        size_t start = 0;
        for (size_t pos = 0; pos <= key.size();) {
            size_t length = 0;
            for (std::string_view s : separators) {
                if (key.substr(pos).starts_with(s)) {
                    length = s.size();
                }
            }
            if (pos == key.size() || length > 0) {
                blanks.emplace_back(Trim(key.substr(start, pos - start)));
                pos += std::max<size_t>(length, 1);
                start = pos;
            } else {
                ++pos;
            }
        }
        return blanks;
    };
    if (Contains(key, {"|", "｜"})) {
        return split({"|", "｜"});
    }
    if (Contains(key, {";", "；"})) {
        return split({";", "；"});
    }
    // "(北京)(上海)": every character inside a bracket pair, pairs separated
    // by nothing but spaces or commas.
    std::vector<std::string> groups;
    std::string current;
    bool inside = false;
    for (size_t pos = 0; pos < key.size();) {
        const size_t start = pos;
        const char32_t c = NextCodePoint(key, pos);
        if (c == '(' || c == 0xFF08) {
            if (inside) {
                return {std::string(key)};
            }
            inside = true;
            current.clear();
        } else if (c == ')' || c == 0xFF09) {
            if (!inside) {
                return {std::string(key)};
            }
            inside = false;
            groups.emplace_back(Trim(current));
        } else if (inside) {
            current.append(key.substr(start, pos - start));
        } else if (c != ' ' && c != ',' && c != 0xFF0C && c != 0x3000 && c != 0x3001) {
            return {std::string(key)};
        }
    }
    if (inside || groups.empty()) {
        return {std::string(key)};
    }
    return groups;
}

std::optional<int> ReadLevel(std::string_view text) {
    const std::string level(Trim(FoldWidth(text)));
    if (level.size() == 1 && level[0] >= '1' && level[0] <= '5') {
        return level[0] - '0';
    }
    if (OneOf(level, {"易", "容易", "简单"})) {
        return 1;
    }
    if (OneOf(level, {"较易", "较容易", "较简单"})) {
        return 2;
    }
    if (OneOf(level, {"中", "中等", "一般", "适中", "普通"})) {
        return 3;
    }
    if (OneOf(level, {"较难", "偏难"})) {
        return 4;
    }
    if (OneOf(level, {"难", "困难"})) {
        return 5;
    }
    const std::string_view star = "★";
    if (!level.empty() && level.size() % star.size() == 0 && level.size() <= 5 * star.size()) {
        for (size_t pos = 0; pos < level.size(); pos += star.size()) {
            if (level.compare(pos, star.size(), star) != 0) {
                return std::nullopt;
            }
        }
        return static_cast<int>(level.size() / star.size());
    }
    return std::nullopt;
}

std::optional<double> ReadScore(std::string_view text) {
    std::string score(Trim(FoldWidth(text)));
    if (score.ends_with("分")) {
        score = std::string(Trim(score.substr(0, score.size() - std::string_view("分").size())));
    }
    if (score.empty() || score.size() > 32) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(score.c_str(), &end);
    if (end != score.c_str() + score.size() || !std::isfinite(value) || value <= 0 ||
        value > 1000) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> SplitKnowledgePaths(std::string_view text) {
    const std::string folded = FoldWidth(text);
    std::vector<std::string> paths;
    std::string path;
    std::string part;
    const auto endPart = [&] {
        const std::string_view trimmed = Trim(part);
        if (!trimmed.empty()) {
            path += (path.empty() ? "" : "/") + std::string(trimmed);
        }
        part.clear();
    };
    const auto endPath = [&] {
        endPart();
        if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end()) {
            paths.push_back(path);
        }
        path.clear();
    };
    for (char c : folded) {
        if (c == ',' || c == ';' || c == '\n' || c == '\r') {
            endPath();
        } else if (c == '/') {
            endPart();
        } else {
            part += c;
        }
    }
    endPath();
    return paths;
}

void AddQuestion(const QuestionFields& fields, ImportReading& reading) {
    ImportedQuestion q;
    q.place = fields.place;
    q.sourceKey = std::string(Trim(fields.sourceKey));
    q.section = fields.section;
    q.typeTitle = WithoutNotes(fields.typeWords);
    std::vector<ImportProblem> problems;
    const auto problem = [&](std::string text) {
        problems.push_back({fields.place, std::move(text)});
    };
    const auto warn = [&](std::string text) {
        reading.warnings.push_back({fields.place, std::move(text)});
    };
    const auto html = [&](std::string_view text) {
        return MarkedHtml(text).value_or(PlainToHtml(text, fields.images, q.media));
    };

    const std::string questionId(Trim(FoldWidth(fields.questionId)));
    if (!questionId.empty()) {
        const bool digits =
            questionId.size() <= 9 && std::all_of(questionId.begin(), questionId.end(),
                                                  [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || std::stoi(questionId) == 0) {
            problem("试题编号“" + questionId + "”不是题库中的编号");
        } else {
            q.existingId = std::stoi(questionId);
            // Without a 序号 the ID finds the row again when it becomes a new question.
            if (q.sourceKey.empty()) {
                q.sourceKey = questionId;
            }
        }
    }
    q.stem = html(fields.stem);
    if (q.stem.empty()) {
        problem("没有题干");
    }
    std::vector<std::string> options = fields.options;
    while (!options.empty() && Trim(options.back()).empty()) {
        options.pop_back();
    }
    for (size_t i = 0; i < options.size(); ++i) {
        if (Trim(options[i]).empty()) {
            problem("选项 " + Letter(static_cast<int>(i)) + " 是空的");
        }
    }
    const std::string key(Trim(WithoutImages(fields.key)));
    const std::optional<std::vector<int>> letters = ReadChoiceKey(key);
    const std::optional<bool> trueFalse = ReadTrueFalseKey(key);

    TypeWords words = ReadTypeWords(fields.typeWords);
    if (words == TypeWords::Unknown && !Trim(fields.typeWords).empty()) {
        warn("题型“" + std::string(Trim(fields.typeWords)) + "”无法识别，按答案判断题型");
    }
    // A key naming an option by its text rather than its letter.
    std::optional<int> keyOption;
    if (!letters && !key.empty()) {
        for (size_t i = 0; i < options.size(); ++i) {
            if (Trim(WithoutImages(options[i])) == key) {
                keyOption = static_cast<int>(i);
            }
        }
    }
    if (words == TypeWords::Unknown) {
        if (!options.empty()) {
            words = TypeWords::Choice;
        } else if (trueFalse) {
            words = TypeWords::TrueFalse;
        } else if (letters) {
            words = TypeWords::Choice;
        } else if (Contains(fields.stem, {"__", "＿＿", "()", "( )", "（）", "（ ）", "（　）"}) ||
                   Contains(key, {"|", "｜"})) {
            words = TypeWords::FillBlank;
        } else {
            words = TypeWords::Manual;
        }
    }
    if (words == TypeWords::Choice) {
        words = letters && letters->size() > 1 ? TypeWords::Multiple : TypeWords::Single;
    }

    switch (words) {
        case TypeWords::Single:
        case TypeWords::Multiple: {
            q.kind = words == TypeWords::Single ? QuestionKind::SingleChoice
                                                : QuestionKind::MultipleChoice;
            for (const std::string& option : options) {
                q.options.push_back(html(option));
            }
            if (options.size() < 2) {
                problem("选择题至少要有两个选项");
            }
            if (key.empty()) {
                problem("没有答案");
                break;
            }
            if (letters) {
                q.rightOptions = *letters;
            } else if (keyOption) {
                q.rightOptions = {*keyOption};
            } else {
                problem("答案“" + key + "”不是选项字母");
                break;
            }
            // Without options the one problem above says it all.
            for (int index : q.rightOptions) {
                if (index >= static_cast<int>(options.size()) && options.size() >= 2) {
                    problem("答案中的选项 " + Letter(index) + " 不存在");
                }
            }
            if (q.kind == QuestionKind::SingleChoice && q.rightOptions.size() > 1) {
                problem("单选题有多个答案“" + key + "”");
            }
            break;
        }
        case TypeWords::TrueFalse: {
            q.kind = QuestionKind::TrueFalse;
            std::optional<bool> value = trueFalse;
            // 判断题 written as a choice between "正确" and "错误".
            if (!value && letters && letters->size() == 1 &&
                letters->front() < static_cast<int>(options.size())) {
                value = ReadTrueFalseKey(WithoutImages(options[letters->front()]));
            }
            if (key.empty()) {
                problem("没有答案");
            } else if (!value) {
                problem("判断题的答案“" + key + "”无法识别（可写 对/错、√/×、T/F、正确/错误）");
            } else {
                q.trueFalseKey = *value;
            }
            const bool plainOptions =
                std::all_of(options.begin(), options.end(), [](const std::string& o) {
                    return ReadTrueFalseKey(WithoutImages(o)).has_value();
                });
            if (!plainOptions) {
                warn("判断题的选项未导入");
            }
            break;
        }
        case TypeWords::FillBlank: {
            q.kind = QuestionKind::FillBlank;
            if (!options.empty()) {
                q.stem = html(fields.stem + OptionLines(options));
            }
            if (key.empty()) {
                problem("没有答案");
                break;
            }
            const std::vector<std::string> blanks = SplitBlanks(key);
            for (size_t i = 0; i < blanks.size(); ++i) {
                if (blanks[i].empty()) {
                    problem("第 " + std::to_string(i + 1) + " 空没有答案");
                }
                q.blanks.push_back({blanks[i]});
            }
            break;
        }
        case TypeWords::Manual:
        case TypeWords::Unknown:
        case TypeWords::Choice:
            q.kind = QuestionKind::Manual;
            if (!options.empty()) {
                q.stem = html(fields.stem + OptionLines(options));
            }
            q.referenceAnswer = html(fields.key);
            break;
    }

    q.analysis = html(fields.analysis);
    q.knowledgePaths = SplitKnowledgePaths(fields.knowledge);
    if (!Trim(fields.score).empty()) {
        q.score = ReadScore(fields.score);
        if (!q.score) {
            warn("分值“" + std::string(Trim(fields.score)) + "”无法识别，按默认分值");
        }
    }
    if (!q.score) {
        q.score = fields.defaultScore;
    }
    if (!Trim(fields.difficulty).empty()) {
        q.level = ReadLevel(fields.difficulty);
        if (!q.level) {
            warn("难度“" + std::string(Trim(fields.difficulty)) + "”无法识别，已忽略");
        }
    }
    if (problems.empty()) {
        reading.questions.push_back(std::move(q));
    } else {
        reading.problems.insert(reading.problems.end(), problems.begin(), problems.end());
    }
}

}  // namespace quillory
