#include <algorithm>

#include "core/common/text.h"
#include "core/exchange/import_answer_form.h"
#include "core/exchange/import_plan.h"
#include "core/exchange/media_data.h"
#include "core/exchange/page_parts.h"
#include "core/exchange/question_writers.h"

namespace quillory {

namespace {

// The characters GIFT gives a meaning, each behind a backslash; line
// breaks as spaces, since a blank line ends a question.
std::string GiftText(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (std::string_view("~=#{}:\\").find(c) != std::string_view::npos) {
            escaped += '\\';
        }
        escaped += c == '\n' || c == '\r' ? ' ' : c;
    }
    return escaped;
}

// An HTML text with its pictures as data: addresses.
std::string GiftHtml(const ImportedQuestion& q, std::string fragment) {
    for (const MediaFile& media : q.media) {
        fragment = WithImageSource(
            std::move(fragment), media.name,
            "data:" + ImageMediaType(media.name) + ";base64," + Base64(media.bytes));
    }
    return GiftText(fragment);
}

std::string Feedback(const ImportedQuestion& q, const std::string& reference) {
    std::string feedback;
    if (!Trim(reference).empty()) {
        feedback = "参考答案：" + reference;
    }
    if (!Trim(q.analysis).empty()) {
        feedback += (feedback.empty() ? "" : "<br>") + q.analysis;
    }
    return feedback.empty() ? "" : "\t####" + GiftHtml(q, feedback) + "\n";
}

std::string BlanksText(const ImportedQuestion& q) {
    std::string text;
    for (size_t b = 0; b < q.blanks.size(); ++b) {
        text += Format("%s（%zu）", b == 0 ? "" : "；", b + 1) +
                (q.blanks[b].empty() ? "" : q.blanks[b].front());
    }
    return text;
}

}  // namespace

WrittenQuestions GiftBytes(const std::vector<ImportedQuestion>& questions) {
    WrittenQuestions out;
    std::string category;
    for (const ImportedQuestion& q : questions) {
        const auto warn = [&](std::string text) {
            out.warnings.push_back({q.place, std::move(text)});
        };
        if (q.kind == QuestionKind::Cloze) {
            warn(std::string(UsualTypeTitle(q.kind)) + "无法写成 GIFT，未导出");
            continue;
        }
        const std::string path = std::string("$course$/top") +
                                 (q.knowledgePaths.empty() ? "" : "/" + q.knowledgePaths.front());
        if (path != category) {
            out.bytes += "$CATEGORY: " + path + "\n\n";
            category = path;
        }
        std::string answers;
        std::string reference;
        switch (q.kind) {
            case QuestionKind::SingleChoice:
            case QuestionKind::MultipleChoice: {
                const size_t right = q.rightOptions.size();
                const size_t wrong = q.options.size() - right;
                for (size_t o = 0; o < q.options.size(); ++o) {
                    const bool isRight = std::find(q.rightOptions.begin(), q.rightOptions.end(),
                                                   static_cast<int>(o)) != q.rightOptions.end();
                    std::string mark = isRight ? "=" : "~";
                    if (q.kind == QuestionKind::MultipleChoice) {
                        mark = "~%" +
                               (isRight ? AnswerWeight(100.0 / static_cast<double>(right))
                                        : "-" + AnswerWeight(100.0 / static_cast<double>(wrong))) +
                               "%";
                    }
                    answers += "\t" + mark + GiftHtml(q, q.options[o]) + "\n";
                }
                break;
            }
            case QuestionKind::TrueFalse:
                answers = q.trueFalseKey ? "\tTRUE\n" : "\tFALSE\n";
                break;
            case QuestionKind::FillBlank:
                if (q.blanks.size() == 1) {
                    for (const std::string& accepted : q.blanks.front()) {
                        answers += "\t=" + GiftText(accepted) + "\n";
                    }
                } else {
                    warn("多空的填空题无法写成 GIFT 的填空题，写作论述题，各空答案放在反馈中");
                    reference = BlanksText(q);
                }
                break;
            case QuestionKind::Manual:
                reference = q.referenceAnswer;
                break;
            case QuestionKind::Matching:
                for (const MatchingPair& pair : MatchingPairs(q)) {
                    answers +=
                        "\t=" + GiftHtml(q, pair.prompt) + " -> " + GiftText(pair.right) + "\n";
                }
                break;
            case QuestionKind::Cloze:
                break;
        }
        out.bytes += "// " + GiftText(q.typeTitle.empty() ? UsualTypeTitle(q.kind) : q.typeTitle) +
                     "\n::" + GiftText(q.sourceKey) + "::[html]" + GiftHtml(q, q.stem) + "{\n" +
                     answers + Feedback(q, reference) + "}\n\n";
        ++out.written;
    }
    return out;
}

std::vector<MatchingPair> MatchingPairs(const ImportedQuestion& q) {
    std::vector<MatchingPair> pairs;
    std::vector<bool> taken(q.options.size());
    for (const AnswerSlot& slot : q.answerSlots) {
        const size_t right = static_cast<size_t>(slot.rightChoice);
        if (right < q.options.size()) {
            taken[right] = true;
            pairs.push_back({slot.prompt, PlainTextOfFragment(q.options[right])});
        }
    }
    for (size_t o = 0; o < q.options.size(); ++o) {
        if (!taken[o]) {
            pairs.push_back({"", PlainTextOfFragment(q.options[o])});
        }
    }
    return pairs;
}

std::string AnswerWeight(double percent) {
    std::string text = Format("%.5f", percent);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

}  // namespace quillory
