// Which of the text formats a .txt file of questions is written in, by what
// it holds: GIFT answer blocks, "::name::" or "$CATEGORY:" lines make it
// GIFT; "ANSWER:" lines after option lines make it Aiken; anything else is
// marked text.
#pragma once

#include <string_view>

#include "core/exchange/question_file.h"

namespace quillory {

// text: decoded (UTF-8). Gift, Aiken or Text.
QuestionFormat GuessTextFormat(std::string_view text);

}  // namespace quillory
