#include "core/exchange/import_answer_form.h"

#include <algorithm>

#include "core/common/text.h"
#include "core/practice/answer_form.h"

namespace quillory {

namespace {

// The panel's answer area is 553 × 206 pixels; the forms are drawn for it
// as the demo bank's are: a caption line on top, controls from y 36.
constexpr int kLeft = 10;
constexpr int kWidth = 540;
constexpr int kFirstRow = 36;
constexpr int kAreaHeight = 206;
constexpr int kOptionWidth = 130;
constexpr int kOptionsPerRow = 4;
constexpr int kOptionRow = 28;
constexpr int kOptionRows = (kAreaHeight - kFirstRow - 22) / kOptionRow + 1;
constexpr int kBlankRow = 34;
constexpr int kBlanksPerColumn = (kAreaHeight - kFirstRow - 24) / kBlankRow + 1;
constexpr int kBlankColumns = 3;
constexpr int kBlankLabelWidth = 52;
constexpr int kBlankEditWidth = 300;
constexpr int kSlotRadioWidth = 40;

// A value as a field of the description: no comma ends it early, no line
// break ends the line.
std::string Field(std::string_view text) {
    std::string field = Trim(text);
    ReplaceAll(field, ",", "，");
    ReplaceAll(field, "\r\n", "\n");
    ReplaceAll(field, "\r", "\n");
    return field;
}

std::string Control(int x, int y, int width, int height, const char* kind,
                    const std::string& caption, const std::string& value = "",
                    const char* group = nullptr) {
    std::string line = Format("%d,%d,%d,%d,%s,%s", x, y, width, height, kind, caption.c_str());
    if (!value.empty() || group != nullptr) {
        line += "," + value;
    }
    if (group != nullptr) {
        line += std::string(",") + group;
    }
    return line + "\r\n";
}

std::string OptionLetter(size_t index) {
    return std::string(1, static_cast<char>('A' + index));
}

std::string Choices(const ImportedQuestion& question, const char* caption, const char* kind) {
    std::string form = Control(kLeft, 8, kWidth - 20, 20, "label", caption);
    std::vector<std::string> captions;
    std::vector<bool> right;
    if (question.kind == QuestionKind::TrueFalse) {
        captions = {"对", "错"};
        right = {question.trueFalseKey, !question.trueFalseKey};
    } else {
        for (size_t o = 0; o < question.options.size(); ++o) {
            captions.push_back(OptionLetter(o));
            right.push_back(false);
        }
        for (int index : question.rightOptions) {
            if (index >= 0 && static_cast<size_t>(index) < right.size()) {
                right[static_cast<size_t>(index)] = true;
            }
        }
    }
    for (size_t o = 0; o < captions.size(); ++o) {
        const int column = static_cast<int>(o) % kOptionsPerRow;
        const int row = static_cast<int>(o) / kOptionsPerRow;
        form +=
            Control(kLeft + column * kOptionWidth, kFirstRow + row * kOptionRow, kOptionWidth - 10,
                    22, kind, captions[o], right[o] ? "1" : "0", o == 0 ? "group,auto" : nullptr);
    }
    return form;
}

int BlankColumns(size_t blanks) {
    return static_cast<int>((blanks + kBlanksPerColumn - 1) / kBlanksPerColumn);
}

std::string Blanks(const ImportedQuestion& question) {
    std::string form =
        Control(kLeft, 8, kWidth - 20, 20, "label", "在下面各空中填写答案（每空单独判分）：");
    const size_t count = question.blanks.size();
    const int columns = BlankColumns(count) < 1 ? 1 : BlankColumns(count);
    const int columnWidth = kWidth / columns;
    const int editWidth = std::min(kBlankEditWidth, columnWidth - kBlankLabelWidth - 14);
    for (size_t b = 0; b < count; ++b) {
        const int x = kLeft + static_cast<int>(b / kBlanksPerColumn) * columnWidth;
        const int y = kFirstRow + static_cast<int>(b % kBlanksPerColumn) * kBlankRow;
        const std::string caption = count == 1 ? "答：" : Format("（%zu）", b + 1);
        const std::string key = question.blanks[b].empty() ? "" : question.blanks[b].front();
        form += Control(x, y + 3, kBlankLabelWidth, 20, "label", caption, "", "group,auto");
        form += Control(x + kBlankLabelWidth + 4, y, editWidth, 24, "edit", "", Field(key));
    }
    return form;
}

size_t SlotChoices(const ImportedQuestion& question, const AnswerSlot& slot) {
    return question.kind == QuestionKind::Matching ? question.options.size() : slot.choices.size();
}

// The width a slot's radio buttons get in the columns its question needs.
int SlotRadioWidth(const ImportedQuestion& question, size_t choices) {
    const int columns = std::max(1, BlankColumns(question.answerSlots.size()));
    return (kWidth / columns - kBlankLabelWidth - 8) /
           static_cast<int>(std::max<size_t>(choices, 1));
}

std::string Slots(const ImportedQuestion& question) {
    std::string form = Control(kLeft, 8, kWidth - 20, 20, "label",
                               question.kind == QuestionKind::Matching
                                   ? "为每一项选出与之匹配的选项（每项单独判分）："
                                   : "在各处作答（每处单独判分）：");
    const size_t count = question.answerSlots.size();
    const int columns = std::max(1, BlankColumns(count));
    const int columnWidth = kWidth / columns;
    for (size_t n = 0; n < count; ++n) {
        const AnswerSlot& slot = question.answerSlots[n];
        const int x = kLeft + static_cast<int>(n / kBlanksPerColumn) * columnWidth;
        const int y = kFirstRow + static_cast<int>(n % kBlanksPerColumn) * kBlankRow;
        form += Control(x, y + 3, kBlankLabelWidth, 20, "label", Format("（%zu）", n + 1), "",
                        "group,auto");
        const size_t choices = SlotChoices(question, slot);
        if (choices == 0) {
            const std::string key = slot.accepted.empty() ? "" : slot.accepted.front();
            form += Control(x + kBlankLabelWidth + 4, y, columnWidth - kBlankLabelWidth - 14, 24,
                            "edit", "", Field(key));
            continue;
        }
        const int width = SlotRadioWidth(question, choices);
        for (size_t c = 0; c < choices; ++c) {
            form += Control(x + kBlankLabelWidth + 4 + static_cast<int>(c) * width, y + 1,
                            width - 4, 22, "radio", OptionLetter(c),
                            static_cast<int>(c) == slot.rightChoice ? "1" : "0");
        }
    }
    return form;
}

std::string SlotProblem(const ImportedQuestion& question) {
    if (question.answerSlots.empty()) {
        return question.kind == QuestionKind::Matching ? "匹配题没有可匹配的项" : "没有可作答之处";
    }
    if (BlankColumns(question.answerSlots.size()) > kBlankColumns) {
        return Format("作答之处太多（最多 %d 处）", kBlanksPerColumn * kBlankColumns);
    }
    for (const AnswerSlot& slot : question.answerSlots) {
        const size_t choices = SlotChoices(question, slot);
        if (choices == 0) {
            if (question.kind == QuestionKind::Matching) {
                return "匹配题没有选项";
            }
            if (slot.accepted.empty() || Trim(slot.accepted.front()).empty()) {
                return "有一处没有答案";
            }
            continue;
        }
        if (slot.rightChoice < 0 || static_cast<size_t>(slot.rightChoice) >= choices) {
            return "有一处没有正确选项";
        }
        if (SlotRadioWidth(question, choices) < kSlotRadioWidth) {
            return "选项太多，答题区放不下";
        }
    }
    return {};
}

std::string HandScored(const ImportedQuestion& question) {
    std::string key = Field(PlainTextOfFragment(question.referenceAnswer));
    ReplaceAll(key, "\n", kStoredLineBreak);
    return Control(kLeft, 8, kWidth - 20, 20, "label", "写出你的解答，提交后对照答案为自己评分：") +
           Control(kLeft, 32, kWidth - 10, kAreaHeight - 40, "editmutiline", "", key, "group");
}

}  // namespace

std::string ImportedAnswerForm(const ImportedQuestion& question) {
    switch (question.kind) {
        case QuestionKind::SingleChoice:
            return Choices(question, "请选择一个正确选项：", "radio");
        case QuestionKind::TrueFalse:
            return Choices(question, "判断下面的说法是否正确：", "radio");
        case QuestionKind::MultipleChoice:
            return Choices(question, "请选择所有正确选项（多选、少选、错选均不得分）：", "check");
        case QuestionKind::FillBlank:
            return Blanks(question);
        case QuestionKind::Manual:
            return HandScored(question);
        case QuestionKind::Matching:
        case QuestionKind::Cloze:
            return Slots(question);
    }
    return {};
}

std::string AnswerFormProblem(const ImportedQuestion& question) {
    switch (question.kind) {
        case QuestionKind::SingleChoice:
        case QuestionKind::MultipleChoice: {
            const size_t most = static_cast<size_t>(kOptionsPerRow * kOptionRows);
            if (question.options.size() > most) {
                return Format("选项太多（最多 %zu 个）", most);
            }
            if (question.options.empty()) {
                return "选择题没有选项";
            }
            if (question.rightOptions.empty()) {
                return "选择题没有答案";
            }
            for (int index : question.rightOptions) {
                if (index < 0 || static_cast<size_t>(index) >= question.options.size()) {
                    return "答案中的选项不存在";
                }
            }
            if (question.kind == QuestionKind::SingleChoice && question.rightOptions.size() > 1) {
                return "单选题有不止一个答案";
            }
            return {};
        }
        case QuestionKind::FillBlank:
            if (question.blanks.empty()) {
                return "填空题没有答案";
            }
            if (BlankColumns(question.blanks.size()) > kBlankColumns) {
                return Format("空太多（最多 %d 个）", kBlanksPerColumn * kBlankColumns);
            }
            for (const std::vector<std::string>& blank : question.blanks) {
                if (blank.empty() || Trim(blank.front()).empty()) {
                    return "填空题有一个空没有答案";
                }
            }
            return {};
        case QuestionKind::Matching:
        case QuestionKind::Cloze:
            return SlotProblem(question);
        case QuestionKind::TrueFalse:
        case QuestionKind::Manual:
            return {};
    }
    return {};
}

std::string AnswerFormChange(const ImportedQuestion& question) {
    std::vector<const std::string*> keys;
    for (const std::vector<std::string>& blank : question.blanks) {
        if (!blank.empty()) {
            keys.push_back(&blank.front());
        }
    }
    for (const AnswerSlot& slot : question.answerSlots) {
        if (!slot.accepted.empty()) {
            keys.push_back(&slot.accepted.front());
        }
    }
    for (const std::string* key : keys) {
        if (key->find(',') != std::string::npos || key->find('\n') != std::string::npos) {
            return "填空答案中的英文逗号或换行已改为中文逗号或换行符，作答时须照此填写";
        }
    }
    return {};
}

std::string PlainTextOfFragment(std::string_view html) {
    static const struct {
        const char* entity;
        const char* text;
    } kEntities[] = {{"&amp;", "&"},   {"&lt;", "<"},  {"&gt;", ">"},
                     {"&quot;", "\""}, {"&#39;", "'"}, {"&nbsp;", " "}};
    std::string text;
    for (size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            const size_t close = html.find('>', i);
            const std::string tag = ToLowerAscii(html.substr(
                i + 1, (close == std::string_view::npos ? html.size() : close) - i - 1));
            if (StartsWith(tag, "br") || StartsWith(tag, "/p") || StartsWith(tag, "/div") ||
                StartsWith(tag, "/li")) {
                text += '\n';
            }
            i = close == std::string_view::npos ? html.size() : close + 1;
            continue;
        }
        if (html[i] == '&') {
            bool read = false;
            for (const auto& entity : kEntities) {
                if (html.substr(i).starts_with(entity.entity)) {
                    text += entity.text;
                    i += std::string_view(entity.entity).size();
                    read = true;
                    break;
                }
            }
            if (read) {
                continue;
            }
        }
        text += html[i++];
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

}  // namespace quillory
