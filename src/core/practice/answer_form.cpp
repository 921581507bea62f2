#include "core/practice/answer_form.h"

#include <algorithm>
#include <climits>

#include "core/common/text.h"

namespace quillory {

namespace {

// A far edge of a control, held at the ends of int: huge numbers in a bank's
// description must not overflow.
int FarEdge(int start, int extent) {
    const long long edge = static_cast<long long>(start) + extent;
    return static_cast<int>(std::clamp<long long>(edge, INT_MIN, INT_MAX));
}

}  // namespace

ControlKind KindOf(const AnswerControl& control) {
    const std::string kind = ToLowerAscii(control.kind);
    if (kind == "label") {
        return ControlKind::Label;
    }
    if (kind == "radio") {
        return ControlKind::Radio;
    }
    if (kind == "check") {
        return ControlKind::Check;
    }
    if (kind == "edit") {
        return ControlKind::Edit;
    }
    if (kind == "editmutiline") {
        return ControlKind::EditMultiline;
    }
    return ControlKind::Other;
}

std::vector<std::string> DescriptionLines(std::string_view description) {
    std::vector<std::string> lines = SplitString(description, "\n");
    for (std::string& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    return lines;
}

AnswerForm ParseAnswerForm(std::string_view description, std::string_view learnerAnswer) {
    AnswerForm form;
    std::vector<std::string> values = SplitString(learnerAnswer, "\r\n");
    for (std::string& value : values) {
        ReplaceAll(value, kStoredLineBreak, "\r\n");
    }
    size_t valueIndex = 0;
    for (const std::string& line : DescriptionLines(description)) {
        const std::vector<std::string> fields = SplitString(line, ",");
        if (fields.size() < 6) {
            continue;
        }
        AnswerControl control;
        control.left = AtoI(fields[0]);
        control.top = AtoI(fields[1]);
        control.right = FarEdge(control.left, AtoI(fields[2]));
        control.bottom = FarEdge(control.top, AtoI(fields[3]));
        control.kind = fields[4];
        control.caption = fields[5];
        if (fields.size() >= 7) {
            control.correctValue = fields[6];
        }
        if (valueIndex < values.size()) {
            control.learnerValue = values[valueIndex];
        }
        ++valueIndex;
        if (fields.size() >= 8 && EqualsNoCase(fields[7], "group")) {
            form.groups.push_back({{}, fields.size() >= 9 && EqualsNoCase(fields[8], "auto")});
        }
        if (form.groups.empty()) {
            form.groups.push_back({{}, true});
        }
        form.groups.back().controls.push_back(std::move(control));
    }
    return form;
}

AnswerBesideKey DescribeAnswer(const AnswerForm& form) {
    AnswerBesideKey described;
    for (const AnswerGroup& group : form.groups) {
        std::string learner;
        std::string key;
        bool asks = false;
        for (const AnswerControl& control : group.controls) {
            const auto add = [](std::string& to, const std::string& what) {
                to += (to.empty() ? "" : "，") + what;
            };
            switch (KindOf(control)) {
                case ControlKind::Radio:
                case ControlKind::Check:
                    asks = true;
                    if (Trim(control.learnerValue) == "1") {
                        add(learner, control.caption);
                    }
                    if (Trim(control.correctValue) == "1") {
                        add(key, control.caption);
                    }
                    break;
                case ControlKind::Edit:
                case ControlKind::EditMultiline: {
                    asks = true;
                    std::string entered = Trim(control.learnerValue);
                    ReplaceAll(entered, "\r\n", " ");
                    std::string expected = control.correctValue;
                    ReplaceAll(expected, kStoredLineBreak, " ");
                    if (!entered.empty()) {
                        add(learner, entered);
                    }
                    add(key, expected);
                    break;
                }
                case ControlKind::Label:
                case ControlKind::Other:
                    break;
            }
        }
        if (!asks) {
            continue;
        }
        const std::string separator =
            described.key.empty() && described.learner.empty() ? "" : "；";
        described.learner += separator + (learner.empty() ? "未作答" : learner);
        described.key += separator + key;
    }
    return described;
}

std::string ComposeAnswerText(const AnswerForm& form) {
    std::string text;
    for (const AnswerGroup& group : form.groups) {
        for (size_t i = 0; i < group.controls.size(); ++i) {
            const AnswerControl& control = group.controls[i];
            std::string value;
            switch (KindOf(control)) {
                case ControlKind::Edit:
                case ControlKind::EditMultiline:
                    value = control.learnerValue;
                    ReplaceAll(value, "\r\n", kStoredLineBreak);
                    break;
                case ControlKind::Radio:
                case ControlKind::Check:
                    value = control.learnerValue;
                    break;
                case ControlKind::Label:
                case ControlKind::Other:
                    break;
            }
            if (i > 0) {
                text += "\r\n";
            }
            text += Trim(value);
        }
        text += "\r\n";
    }
    return text;
}

int JudgeControl(const AnswerControl& control) {
    switch (KindOf(control)) {
        case ControlKind::Label:
            return kCorrect;
        case ControlKind::Edit:
        case ControlKind::EditMultiline: {
            // The right answer is written as the value is stored, line
            // breaks as "<\r\n>".
            std::string stored = control.learnerValue;
            ReplaceAll(stored, "\r\n", kStoredLineBreak);
            return EqualsNoCase(stored, control.correctValue) ? kCorrect : kWrong;
        }
        default:
            return EqualsNoCase(control.learnerValue, control.correctValue) ? kCorrect : kWrong;
    }
}

int JudgeGroup(const AnswerGroup& group) {
    const auto isInput = [](const AnswerControl& c) { return KindOf(c) != ControlKind::Label; };
    if (std::none_of(group.controls.begin(), group.controls.end(), isInput)) {
        return kNothingToJudge;
    }
    const bool answered =
        std::any_of(group.controls.begin(), group.controls.end(), [](const AnswerControl& c) {
            switch (KindOf(c)) {
                case ControlKind::Edit:
                case ControlKind::EditMultiline:
                    return !c.learnerValue.empty();
                case ControlKind::Radio:
                case ControlKind::Check:
                    return !c.learnerValue.empty() && c.learnerValue != "0";
                default:
                    return false;
            }
        });
    if (!answered) {
        return kNotAnswered;
    }
    if (!group.autoJudge) {
        return kNeedsHandScoring;
    }
    for (const AnswerControl& control : group.controls) {
        if (isInput(control) && JudgeControl(control) != kCorrect) {
            return kWrong;
        }
    }
    return kCorrect;
}

Judgement JudgeAnswerForm(const AnswerForm& form, float fullMarks, bool countUnansweredAsWrong) {
    int correct = 0;
    int wrong = 0;
    for (const AnswerGroup& group : form.groups) {
        switch (JudgeGroup(group)) {
            case kNeedsHandScoring:
                return {kNeedsHandScoring, 0.0f};
            case kCorrect:
                ++correct;
                break;
            case kWrong:
                ++wrong;
                break;
            case kNotAnswered:
                if (!countUnansweredAsWrong) {
                    return {kNotAnswered, 0.0f};
                }
                ++wrong;
                break;
            default:
                break;
        }
    }
    if (correct + wrong == 0) {
        return {kNothingToJudge, 0.0f};
    }
    return {0, static_cast<float>(fullMarks * correct / (correct + wrong))};
}

int CountJudgedGroups(const AnswerForm& form) {
    return static_cast<int>(
        std::count_if(form.groups.begin(), form.groups.end(), [](const AnswerGroup& group) {
            return std::any_of(
                group.controls.begin(), group.controls.end(),
                [](const AnswerControl& c) { return KindOf(c) != ControlKind::Label; });
        }));
}

}  // namespace quillory
