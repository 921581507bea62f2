// The answer form of a question: the description in Question.Answer (one
// control a line: x,y,width,height,kind,caption[,correct[,group[,auto]]]),
// the learner's answer text (one value a control), and judging.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillory {

struct AnswerControl {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    std::string kind;  // label, radio, check, edit, editmutiline (any case); others get no window
    std::string caption;
    std::string correctValue;
    // radio/check: "0" or "1"; edits: the text, line breaks as CR LF.
    std::string learnerValue;
};

struct AnswerGroup {
    std::vector<AnswerControl> controls;
    bool autoJudge = true;
};

struct AnswerForm {
    std::vector<AnswerGroup> groups;
};

// How a line break inside one stored value (a learner's text, a multi-line
// box's reference answer) is written, since CR LF parts the values.
inline constexpr std::string_view kStoredLineBreak = "<\\r\\n>";

enum class ControlKind { Label, Radio, Check, Edit, EditMultiline, Other };
ControlKind KindOf(const AnswerControl& control);

// The lines of a description: apart at CR LF as the program writes them, or
// at a lone LF as other tools do.
std::vector<std::string> DescriptionLines(std::string_view description);

// The learner's answer beside the key, for reading: of every group that asks
// for something, the options chosen (radio and check captions) or the text
// entered, and the right ones; groups apart by "；", nothing given "未作答".
struct AnswerBesideKey {
    std::string learner;
    std::string key;
};
AnswerBesideKey DescribeAnswer(const AnswerForm& form);

// Builds the groups from the description and restores the learner values
// from an answer text. Lines with fewer than 6 fields are skipped and take no
// value.
AnswerForm ParseAnswerForm(std::string_view description, std::string_view learnerAnswer);

// The answer text of the form's learner values: a group's values joined by
// CR LF, each group followed by CR LF; an edit's line breaks written as the
// six characters "<\r\n>"; every value trimmed.
std::string ComposeAnswerText(const AnswerForm& form);

// Result codes: numbers no score reaches.
enum JudgeCode : int {
    kNothingToJudge = 65281,
    kNeedsHandScoring = 65282,
    kCorrect = 65283,
    kWrong = 65284,
    kNotAnswered = 65285,
};

int JudgeControl(const AnswerControl& control);
int JudgeGroup(const AnswerGroup& group);

struct Judgement {
    // 0 when a score was given, else kNothingToJudge (with score 0),
    // kNeedsHandScoring or kNotAnswered (the learner score stays as it was).
    int code = 0;
    float score = 0.0f;
    bool SetsScore() const { return code == 0 || code == kNothingToJudge; }
};

// The question's score: full marks × correct groups ÷ judged groups.
Judgement JudgeAnswerForm(const AnswerForm& form, float fullMarks, bool countUnansweredAsWrong);

// Groups with at least one control that is not a label.
int CountJudgedGroups(const AnswerForm& form);

}  // namespace quillory
