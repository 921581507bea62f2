// The rules every question reader shares: what a question's texts say about
// its kind, key, blanks, score, difficulty and knowledge points, however a
// teacher happened to write them, and the checks that refuse a question the
// bank could not judge.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/imported_question.h"

namespace quillory {

// What 题型 words say. Choice: "选择题", single or multiple by the key.
enum class TypeWords { Unknown, Choice, Single, Multiple, TrueFalse, FillBlank, Manual };

// "单选题", "单项选择题（每题2分）", "不定项选择题", "判断题", "填空题",
// "简答题", "材料分析题"…; Unknown when nothing known is named.
TypeWords ReadTypeWords(std::string_view words);

// Option indices of a choice key written "A", "ABC", "A,B", "A、B", "A B",
// lower case or full width; nullopt when the key is anything else.
std::optional<std::vector<int>> ReadChoiceKey(std::string_view key);

// 对/错, √/×, T/F, 正确/错误, 是/否, TRUE/FALSE…; nullopt otherwise.
std::optional<bool> ReadTrueFalseKey(std::string_view key);

// A fill-in key as its blanks: "北京|上海", "北京；上海" or "(北京)(上海)".
std::vector<std::string> SplitBlanks(std::string_view key);

// 易/较易/中/中等/较难/难, 1–5 or ★…: 1 (易) … 5 (难).
std::optional<int> ReadLevel(std::string_view text);

// "2", "2.5", "2分", "２": a positive score.
std::optional<double> ReadScore(std::string_view text);

// Knowledge paths separated by ；;，, or line breaks, each "数学/函数" with
// its parts trimmed.
std::vector<std::string> SplitKnowledgePaths(std::string_view text);

// One question's texts as a reader found them: plain text, pictures as
// image marks (plain_text.h) into images.
struct QuestionFields {
    SourcePlace place;
    std::string sourceKey;
    std::string questionId;  // 试题编号: the bank question an export wrote the row from
    std::string typeWords;   // the question's 题型, else its heading's
    std::string stem;
    std::vector<std::string> options;  // A, B, … (an empty one is a gap)
    std::string key;
    std::string analysis;
    std::string knowledge;
    std::string score;
    std::optional<double> defaultScore;  // a heading's "每题2分"
    std::string difficulty;
    std::string section;
    const std::vector<MediaFile>* images = nullptr;
};

// Applies the rules: a question joins reading.questions, or its problems
// join reading.problems; what was changed or dropped joins reading.warnings.
void AddQuestion(const QuestionFields& fields, ImportReading& reading);

}  // namespace quillory
