// Any answer form description with any saved answer text: parsed, written
// back, parsed again and judged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/practice/answer_form.h"

namespace {

// The description, then a NUL, then the learner's answer text.
std::pair<std::string_view, std::string_view> Split(std::string_view input) {
    const size_t at = input.find('\0');
    if (at == std::string_view::npos) {
        return {input, {}};
    }
    return {input.substr(0, at), input.substr(at + 1)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillory;
    const auto [description, answer] =
        Split(std::string_view(reinterpret_cast<const char*>(data), size));
    const AnswerForm form = ParseAnswerForm(description, answer);
    const AnswerForm again = ParseAnswerForm(description, ComposeAnswerText(form));
    CountJudgedGroups(again);
    for (const bool unansweredIsWrong : {false, true}) {
        const Judgement judgement = JudgeAnswerForm(again, 10.0f, unansweredIsWrong);
        // A score is a share of the full marks.
        if (judgement.SetsScore() && !(judgement.score >= 0.0f && judgement.score <= 10.0f)) {
            std::abort();
        }
    }
    return 0;
}
